// Parsing the document text form: sections in any case, defaults for absent fields, entries
// appended after the existing ones with their references offset by the list sizes before.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

#include "builder/document/document_text.h"
#include "builder/document/text_fields.h"
#include "builder/strings/builder_strings.h"
#include "script/list_item.h"

namespace vandrel::builder {

namespace {

bool equalNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// The leading-digits reading, kept within the 32-bit range the document's numbers have.
int number(std::string_view text) {
  long value = script::readInt(text);
  return int(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

// The "0x%x" reading of a colour: without the "0x" prefix, or without hex digits after it,
// the colour is left as it was.
void readColour(std::string_view text, std::uint32_t& colour) {
  if (text.size() < 2 || text[0] != '0' || text[1] != 'x') return;
  std::size_t i = 2;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) i += 2;
  std::uint64_t value = 0;
  bool digits = false;
  for (; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i) {
    digits = true;
    int d = std::isdigit(static_cast<unsigned char>(text[i])) ? text[i] - '0'
                                                               : std::tolower(text[i]) - 'a' + 10;
    value = std::min<std::uint64_t>(value * 16 + unsigned(d), 0xFFFFFFFFULL);
  }
  if (digits) colour = std::uint32_t(value);
}

template <typename S>
void readKey(S& group, const std::vector<KeyField<S>>& keys, std::string_view key,
             std::string_view value) {
  for (const KeyField<S>& field : keys) {
    if (!equalNoCase(key, field.name)) continue;
    if (field.text) group.*(field.text) = std::string(value);
    else if (field.number) group.*(field.number) = number(value);
    else readColour(value, group.*(field.colour));
    return;
  }
}

// The comma fields of an entry value. When a line has more fields than its form, the extra
// commas belong to the form's free-text field (a description, a value, a path, a command
// line), which takes them back instead of losing the text after the first of them.
class Fields {
 public:
  Fields(std::string_view value, std::size_t expected, std::size_t freeText) {
    if (value.empty()) return;  // an empty value gives every field its default
    std::size_t start = 0;
    while (true) {
      std::size_t comma = value.find(',', start);
      items_.emplace_back(value.substr(start, comma == std::string_view::npos ? comma : comma - start));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
    if (items_.size() > expected) {
      std::size_t extra = items_.size() - expected;
      std::string joined(items_[freeText]);
      for (std::size_t i = 1; i <= extra; ++i) joined += "," + std::string(items_[freeText + i]);
      std::vector<std::string> merged(items_.begin(), items_.begin() + long(freeText));
      merged.push_back(joined);
      merged.insert(merged.end(), items_.begin() + long(freeText + extra + 1), items_.end());
      items_ = std::move(merged);
    }
  }
  // Field k counted from 1; def when absent.
  std::string text(std::size_t k, const char* def) const {
    return k <= items_.size() ? items_[k - 1] : std::string(def);
  }
  int num(std::size_t k, const char* def) const { return number(text(k, def)); }

 private:
  std::vector<std::string> items_;
};

class Loader {
 public:
  explicit Loader(CScriptDoc& doc) : doc_(doc) {
    for (int c = kFirstEntryCategory; c <= kLastEntryCategory; ++c) base_[std::size_t(c)] = doc.count(c);
  }

  int run(std::string_view text);

 private:
  void line(std::string_view key, std::string_view value);
  void entry(std::string_view value);
  // The key of the entry at base + index of a category, or 0.
  EntryKey resolve(int category, int index) const {
    long at = long(base_[std::size_t(category)]) + index;
    if (index < 0 || at >= doc_.count(category)) return 0;
    return keyAt(category, int(at));
  }
  EntryKey keyAt(int category, int index) const {
    auto ref = doc_.entryAt(category, index);
    return std::visit([](auto* e) { return e->key; }, *ref);
  }
  int matchSection(std::string_view line) const;

  CScriptDoc& doc_;
  std::array<int, section::Count + 1> base_{};
  int current_ = 0;  // no section yet
  bool unGroupRead_ = false;
};

int Loader::matchSection(std::string_view line) const {
  if (line.find('[') == std::string_view::npos) return 0;
  for (int n = 1; n <= section::Count; ++n) {
    if (equalNoCase(line, "[" + strItem(163, n) + "]")) return n;
  }
  return 0;
}

void Loader::line(std::string_view key, std::string_view value) {
  switch (current_) {
    case 0: return;
    case section::Settings: return readKey(doc_.settings, settingsKeys(), key, value);
    case section::Background: return readKey(doc_.background, backgroundKeys(), key, value);
    case section::Owner: return readKey(doc_.properties, ownerKeys(), key, value);
    case section::Peskin:
      if (equalNoCase(key, "UnGroup")) {
        doc_.uninstall.unGroup = number(value);
        unGroupRead_ = true;
      } else if (equalNoCase(key, "UnDesc")) {
        doc_.uninstall.unDesc = std::string(value);
      }
      return;
    case section::End:
      if (equalNoCase(key, "Reboot")) doc_.endOfInstall.reboot = number(value);
      else doc_.endOfInstall.launch.emplace_back(value);
      return;
    case section::Web:
      if (equalNoCase(key, "StartURL")) {
        doc_.web.startUrl = std::string(value);
      } else {
        std::size_t comma = value.find(',');
        doc_.web.favoriteNames.emplace_back(comma == std::string_view::npos ? "" : value.substr(0, comma));
        doc_.web.favoriteUrls.emplace_back(comma == std::string_view::npos ? value : value.substr(comma + 1));
      }
      return;
    default: return entry(value);
  }
}

void Loader::entry(std::string_view value) {
  Entry made = makeEntry(current_);
  switch (current_) {
    case category::Directories: {
      Fields f(value, 4, 3);
      made = DirectoryEntry{f.text(1, "?"), f.num(2, "0"), f.num(3, "0"), f.text(4, "?")};
      break;
    }
    case category::Descriptions: made = DescriptionEntry{std::string(value)}; break;
    case category::Groups: made = GroupEntry{std::string(value)}; break;
    case category::WinIni: {
      Fields f(value, 3, 2);
      made = IniEntry{f.text(1, "?"), f.text(2, "?"), f.text(3, "?")};
      break;
    }
    case category::Registry: {
      Fields f(value, 5, 3);
      made = RegistryEntry{f.num(1, "?"), f.text(2, "?"), f.text(3, "?"), f.text(4, "?"), f.num(5, "?")};
      break;
    }
    case category::Files: {
      Fields f(value, 13, 11);
      FileEntry e;
      e.sourceName = f.text(1, "?");
      e.destName = f.text(2, "?");
      e.disk = f.num(3, "1");
      e.uninstall = f.num(4, "1");
      e.forceCopy = f.num(5, "0");
      e.decompress = f.num(6, "1");
      e.size = f.num(7, "0");
      e.directoryRef = resolve(category::Directories, f.num(8, "0"));
      e.descriptionRef = resolve(category::Descriptions, f.num(9, "0"));
      e.predefinedDir = f.num(10, "0");
      e.platform = f.num(11, "0");
      e.sourcePath = f.text(12, "?");
      e.shared = f.num(13, "0");
      made = std::move(e);
      break;
    }
    case category::ProgramAdds: {
      Fields f(value, 4, 1);
      made = ShortcutEntry{resolve(category::Files, f.num(3, "0")),
                           resolve(category::Groups, f.num(4, "0")), f.text(1, "?"), f.text(2, "?")};
      break;
    }
    case category::Messages: {
      Fields f(value, 3, 2);
      made = MessageEntry{f.text(1, "?"), f.num(2, "?"), f.text(3, "?")};
      break;
    }
    default: return;
  }
  setKey(made, doc_.newKey());
  doc_.appendEntry(std::move(made));
}

int Loader::run(std::string_view text) {
  int count = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    std::string_view line = text.substr(start, (end == std::string_view::npos ? text.size() : end) - start);
    start = next;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    if (int found = matchSection(line)) {
      current_ = found;
      continue;
    }
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    ++count;
    this->line(line.substr(0, equals), line.substr(equals + 1));
  }
  // The uninstall group read here designates the group at that index among the groups this
  // text brought in (the existing groups come first when importing).
  int unGroup = doc_.uninstall.unGroup;
  if (count > 0 && unGroupRead_ && unGroup >= 0) {
    if (EntryKey key = resolve(category::Groups, unGroup)) doc_.uninstall.groupKey = key;
  }
  return count;
}

}  // namespace

int loadDocumentText(CScriptDoc& doc, std::string_view text) { return Loader(doc).run(text); }

}  // namespace vandrel::builder
