// Parsing the document text form: sections in any case, defaults for absent fields, entries
// appended after the existing ones with their references offset by the list sizes before.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

#include "builder/codec/document_text.h"
#include "builder/codec/text_fields.h"
#include "builder/strings/builder_strings.h"
#include "platform/text/text_rules.h"
#include "script/list_item.h"

namespace vandrel::builder {

namespace {

using script::Section;

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
    if (!text::equalsNoCase(key, field.name)) continue;
    if (field.text) group.*(field.text) = std::string(value);
    else if (field.number) group.*(field.number) = number(value);
    else readColour(value, group.*(field.colour));
    return;
  }
}

class Loader {
 public:
  explicit Loader(CScriptDoc& doc) : doc_(doc) {
    for (int c = kFirstEntryCategory; c <= kLastEntryCategory; ++c) base_[std::size_t(c)] = doc.count(c);
  }

  int run(std::string_view text);

 private:
  void line(std::string_view key, std::string_view value);
  void entry(std::string_view value);
  FileEntry fileEntry(std::string_view value) const;
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
  std::optional<Section> matchSection(std::string_view line) const;

  CScriptDoc& doc_;
  std::array<int, kLastEntryCategory + 1> base_{};
  std::optional<Section> current_;  // none before the first section line
  bool unGroupRead_ = false;
};

std::optional<Section> Loader::matchSection(std::string_view line) const {
  if (line.find('[') == std::string_view::npos) return std::nullopt;
  for (Section section : script::documentSections()) {
    if (text::equalsNoCase(line, "[" + script::sectionName(section) + "]")) return section;
  }
  return std::nullopt;
}

void Loader::line(std::string_view key, std::string_view value) {
  if (!current_) return;
  switch (*current_) {
    case Section::Settings: return readKey(doc_.settings, settingsKeys(), key, value);
    case Section::Background: return readKey(doc_.background, backgroundKeys(), key, value);
    case Section::Owner: return readKey(doc_.properties, ownerKeys(), key, value);
    case Section::Peskin:
      if (text::equalsNoCase(key, script::key::UnGroup)) {
        doc_.uninstall.unGroup = number(value);
        unGroupRead_ = true;
      } else if (text::equalsNoCase(key, script::key::UnDesc)) {
        doc_.uninstall.unDesc = std::string(value);
      }
      return;
    case Section::End:
      if (text::equalsNoCase(key, script::key::Reboot))
        doc_.endOfInstall.reboot = number(value);
      else doc_.endOfInstall.launch.emplace_back(value);
      return;
    case Section::Web:
      if (text::equalsNoCase(key, script::key::StartURL)) {
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

// The entry category that a section of the text holds; 0 for a section of settings.
int entryCategory(Section section) {
  for (int category = kFirstEntryCategory; category <= kLastEntryCategory; ++category) {
    if (sectionOf(category) == section) return category;
  }
  return 0;
}

void Loader::entry(std::string_view value) {
  const int category = entryCategory(*current_);
  Entry made = makeEntry(category);
  switch (category) {
    case category::Directories: {
      auto f = script::readDocumentEntry<script::DirectoryEntry>(value);
      made = DirectoryEntry{f.path.text("?"), number(f.root.text("0")),
                            number(f.optional.text("0")), f.label.text("?")};
      break;
    }
    case category::Descriptions: made = DescriptionEntry{std::string(value)}; break;
    case category::Groups: made = GroupEntry{std::string(value)}; break;
    case category::WinIni: {
      auto f = script::readDocumentEntry<script::IniEntry>(value);
      made = IniEntry{f.section.text("?"), f.key.text("?"), f.value.text("?")};
      break;
    }
    case category::Registry: {
      auto f = script::readDocumentEntry<script::RegistryEntry>(value);
      made = RegistryEntry{number(f.root.text("?")), f.subkey.text("?"), f.name.text("?"),
                           f.data.text("?"), number(f.removal.text("?"))};
      break;
    }
    case category::Files: made = fileEntry(value); break;
    case category::ProgramAdds: {
      auto f = script::readDocumentEntry<script::DocumentShortcutEntry>(value);
      made = ShortcutEntry{resolve(category::Files, number(f.file.text("0"))),
                           resolve(category::Groups, number(f.group.text("0"))),
                           f.name.text("?"), f.arguments.text("?")};
      break;
    }
    case category::Messages: {
      auto f = script::readDocumentEntry<script::DocumentMessageEntry>(value);
      made = MessageEntry{f.target.text("?"), number(f.disk.text("?")), f.path.text("?")};
      break;
    }
    default: return;
  }
  setKey(made, doc_.newKey());
  doc_.appendEntry(std::move(made));
}

FileEntry Loader::fileEntry(std::string_view value) const {
  auto f = script::readDocumentEntry<script::DocumentFileEntry>(value);
  FileEntry e;
  e.sourceName = f.source.text("?");
  e.destName = f.target.text("?");
  e.disk = number(f.disk.text("1"));
  e.uninstall = number(f.uninstall.text("1"));
  e.forceCopy = number(f.force.text("0"));
  e.decompress = number(f.expand.text("1"));
  e.size = number(f.size.text("0"));
  e.directoryRef = resolve(category::Directories, number(f.dir.text("0")));
  e.descriptionRef = resolve(category::Descriptions, number(f.desc.text("0")));
  e.predefinedDir = number(f.predefinedDir.text("0"));
  e.platform = number(f.platform.text("0"));
  e.sourcePath = f.sourcePath.text("?");
  e.shared = number(f.shared.text("0"));
  return e;
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
    if (std::optional<Section> found = matchSection(line)) {
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
