// Parsing the document text form: sections in any case, defaults for absent fields, entries
// appended after the existing ones with their references offset by the list sizes before.
// What the loader cannot read as written is noted with its line (load_diagnostic.h); the
// document is loaded the same way whether anyone collects the notes or not.
#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <map>
#include <system_error>
#include <type_traits>

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

enum class NumberText { Whole, NotANumber, OutOfRange };

// Whether the leading-digits reading takes the whole text: blanks around it, an optional
// sign and at least one digit, within the 32-bit range.
NumberText classifyNumber(std::string_view text) {
  std::string_view t = text::trim(text);
  std::size_t i = !t.empty() && (t[0] == '-' || t[0] == '+') ? 1 : 0;
  if (i == t.size()) return NumberText::NotANumber;
  for (std::size_t k = i; k < t.size(); ++k) {
    if (t[k] < '0' || t[k] > '9') return NumberText::NotANumber;
  }
  // Read in 64 bits whatever the width of long (32 bits on Windows, where the leading-digits
  // reading already stops at the 32-bit limit and would hide the overflow).
  long long value = 0;
  auto [end, error] = std::from_chars(t.data() + i, t.data() + t.size(), value);
  if (error == std::errc::result_out_of_range) return NumberText::OutOfRange;
  if (t[0] == '-') value = -value;
  return value < INT32_MIN || value > INT32_MAX ? NumberText::OutOfRange : NumberText::Whole;
}

std::string colourText(std::uint32_t colour) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08x", unsigned(colour));
  return buffer;
}

// The "0x%x" reading of a colour: without the "0x" prefix, or without hex digits after it,
// the colour is left as it was. True when the text is exactly "0x" and one to eight hex
// digits, as the writer puts it.
bool readColour(std::string_view text, std::uint32_t& colour) {
  if (text.size() < 2 || text[0] != '0' || text[1] != 'x') return false;
  std::size_t i = 2;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) i += 2;
  const std::size_t first = i;
  std::uint64_t value = 0;
  for (; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i) {
    int d = std::isdigit(static_cast<unsigned char>(text[i])) ? text[i] - '0'
                                                               : std::tolower(text[i]) - 'a' + 10;
    value = std::min<std::uint64_t>(value * 16 + unsigned(d), 0xFFFFFFFFULL);
  }
  if (i == first) return false;
  colour = std::uint32_t(value);
  return first == 2 && i == text.size() && i - first <= 8;
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string sectionLabel(Section section) { return "[" + script::sectionName(section) + "]"; }

// Forms whose free-text field is followed by other fields: extra commas there are taken into
// the free text, which is worth a note for a file's source folder and a shortcut's command
// line (rarely holding a comma), not for a registry value (often holding one: "a.exe,0").
template <typename View>
constexpr bool notesExtraCommas() {
  using Form = script::EntryForm<View>;
  return Form::freeText != 0 && std::size_t(Form::freeText) < std::size(Form::fields) &&
         !std::is_same_v<View, script::RegistryEntry>;
}

class Loader {
 public:
  Loader(CScriptDoc& doc, LoadDiagnostics* notes, std::string_view file)
      : doc_(doc), notes_(notes), file_(file) {
    for (const EntryKind& kind : kEntryKinds) {
      base_[std::size_t(kind.category)] = doc.count(kind.category);
    }
  }

  int run(std::string_view text);

 private:
  void note(Severity severity, std::string message) {
    if (!notes_) return;
    if (kept_ < kMaxNotes) {
      ++kept_;
      notes_->push_back({std::string(file_), lineNumber_, severity, std::move(message)});
    } else {
      ++(severity == Severity::Error ? leftOutErrors_ : leftOutWarnings_);
    }
  }
  // A text of many bad lines (a file that is no document at all) would give a note per line:
  // the first ones are kept, the others counted in one last note.
  static constexpr int kMaxNotes = 200;
  void noteLeftOut();
  void sectionLine(Section section);
  void lineWithoutEquals(std::string_view line);
  void line(std::string_view key, std::string_view value);
  void unknownKey(std::string_view key);
  // Notes a key given twice in the current section; the later value is the one kept.
  void once(std::string_view key);
  int checkedNumber(std::string_view text, const std::string& what);
  template <typename S>
  bool readKey(S& group, const std::vector<KeyField<S>>& keys, std::string_view key,
               std::string_view value);
  void entry(std::string_view key, std::string_view value);
  template <typename View>
  View fields(std::string_view value);
  int field(const script::FieldText& f, std::string_view def, const char* name);
  // A reference field: the key of the entry it designates, 0 for -1 (none); an index naming
  // no entry read so far is noted and read as none.
  EntryKey reference(const script::FieldText& f, const char* name, int category);
  FileRecord fileEntry(std::string_view value);
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
  LoadDiagnostics* notes_;
  std::string_view file_;
  std::array<int, kHighestEntryCategory + 1> base_{};
  std::array<int, kHighestEntryCategory + 1> readHere_{};  // entries of each category in this text
  std::optional<Section> current_;  // none before the first section line
  bool unGroupRead_ = false;
  int unGroupLine_ = 0;
  int lineNumber_ = 0;
  int kept_ = 0, leftOutErrors_ = 0, leftOutWarnings_ = 0;
  bool commentLine_ = false;  // the current key line starts with ";"
  std::map<std::string, int> firstLine_;  // "SECTION/KEY" or "[SECTION]" -> its first line
};

std::optional<Section> Loader::matchSection(std::string_view line) const {
  if (line.find('[') == std::string_view::npos) return std::nullopt;
  for (Section section : script::documentSections()) {
    if (text::equalsNoCase(line, sectionLabel(section))) return section;
  }
  return std::nullopt;
}

void Loader::noteLeftOut() {
  if (!notes_ || leftOutErrors_ + leftOutWarnings_ == 0) return;
  notes_->push_back({std::string(file_), lineNumber_,
                     leftOutErrors_ > 0 ? Severity::Error : Severity::Warning,
                     decimal(leftOutErrors_ + leftOutWarnings_) + " more note(s) left out, " +
                         decimal(leftOutErrors_) + " of them error(s)"});
}

void Loader::sectionLine(Section section) {
  current_ = section;
  auto [at, first] = firstLine_.emplace(text::toUpper(sectionLabel(section)), lineNumber_);
  if (!first) {
    note(Severity::Warning, "section " + sectionLabel(section) + " appears again (first on line " +
                                decimal(at->second) + "); its lines are read as part of it");
  }
}

void Loader::lineWithoutEquals(std::string_view line) {
  std::string_view t = text::trim(line);
  if (t.empty() || t[0] == ';') return;  // blank lines and comments
  if (t.front() == '[' && t.back() == ']') {
    for (Section section : script::documentSections()) {
      if (text::equalsNoCase(t, sectionLabel(section))) {
        note(Severity::Error, "section line " + quoted(line) + " has blanks around it and is not "
                              "read as " + sectionLabel(section) + "; the lines below it are " +
                              (current_ ? "read as part of " + sectionLabel(*current_) : "ignored"));
        return;
      }
    }
    note(Severity::Error, "unknown section " + std::string(t) + "; the lines below it are " +
                          (current_ ? "read as part of " + sectionLabel(*current_) : "ignored") +
                          " until the next known section");
    return;
  }
  note(Severity::Warning, "line without \"=\" is ignored: " + quoted(line));
}

void Loader::unknownKey(std::string_view key) {
  if (commentLine_) return;
  note(Severity::Warning,
       "unknown key " + quoted(key) + " in " + sectionLabel(*current_) + " is ignored");
}

void Loader::once(std::string_view key) {
  std::string id = script::sectionName(*current_) + "/" + text::toUpper(key);
  auto [at, first] = firstLine_.emplace(text::toUpper(id), lineNumber_);
  if (first) return;
  note(Severity::Warning, "duplicate key " + quoted(key) + " in " + sectionLabel(*current_) +
                              " (first on line " + decimal(at->second) +
                              "): the value on this line replaces it");
}

int Loader::checkedNumber(std::string_view text, const std::string& what) {
  int value = number(text);
  switch (classifyNumber(text)) {
    case NumberText::Whole: break;
    case NumberText::NotANumber:
      note(Severity::Error, what + " " + quoted(text) + " is not a whole number; read as " +
                                decimal(value));
      break;
    case NumberText::OutOfRange:
      note(Severity::Error, what + " " + std::string(text) +
                                " is beyond the 32-bit range; read as " + decimal(value));
      break;
  }
  return value;
}

template <typename S>
bool Loader::readKey(S& group, const std::vector<KeyField<S>>& keys, std::string_view key,
                     std::string_view value) {
  for (const KeyField<S>& field : keys) {
    if (!text::equalsNoCase(key, field.name)) continue;
    once(field.name);
    if (field.text) {
      group.*(field.text) = std::string(value);
    } else if (field.number) {
      group.*(field.number) = checkedNumber(value, field.name);
    } else if (!readColour(value, group.*(field.colour))) {
      note(Severity::Error, std::string(field.name) + " " + quoted(value) +
                                " is not a colour written 0x00BBGGRR; read as " +
                                colourText(group.*(field.colour)));
    }
    return true;
  }
  return false;
}

void Loader::line(std::string_view key, std::string_view value) {
  commentLine_ = !text::trimLeading(key).empty() && text::trimLeading(key)[0] == ';';
  if (commentLine_) {
    note(Severity::Warning, "a comment holding \"=\" is read as a key line: " +
                                quoted(std::string(key) + "=" + std::string(value)));
  }
  if (!current_) {
    if (!commentLine_) note(Severity::Warning, "a line before the first section is ignored");
    return;
  }
  switch (*current_) {
    case Section::Settings:
      if (!readKey(doc_.settings, settingsKeys(), key, value)) unknownKey(key);
      return;
    case Section::Background:
      if (!readKey(doc_.background, backgroundKeys(), key, value)) unknownKey(key);
      return;
    case Section::Owner:
      if (!readKey(doc_.properties, ownerKeys(), key, value)) unknownKey(key);
      return;
    case Section::Peskin:
      if (text::equalsNoCase(key, script::key::UnGroup)) {
        once(script::key::UnGroup);
        doc_.uninstall.unGroup = checkedNumber(value, script::key::UnGroup);
        unGroupRead_ = true;
        unGroupLine_ = lineNumber_;
      } else if (text::equalsNoCase(key, script::key::UnDesc)) {
        once(script::key::UnDesc);
        doc_.uninstall.unDesc = std::string(value);
      } else {
        unknownKey(key);
      }
      return;
    case Section::End:
      if (text::equalsNoCase(key, script::key::Reboot)) {
        once(script::key::Reboot);
        doc_.endOfInstall.reboot = checkedNumber(value, script::key::Reboot);
        return;
      }
      if (!commentLine_ && !text::entryNumber(text::trim(key))) {
        note(Severity::Warning, "key " + quoted(key) + " in [End] is neither Reboot nor a number; "
                                "its value is read as a command to run at the end");
      }
      doc_.endOfInstall.launch.emplace_back(value);
      return;
    case Section::Web:
      if (text::equalsNoCase(key, script::key::StartURL)) {
        once(script::key::StartURL);
        doc_.web.startUrl = std::string(value);
      } else {
        if (!commentLine_ && !text::entryNumber(text::trim(key))) {
          note(Severity::Warning, "key " + quoted(key) + " in [Web] is neither StartURL nor a "
                                  "number; its value is read as a favourite");
        }
        std::size_t comma = value.find(',');
        doc_.web.favoriteNames.emplace_back(comma == std::string_view::npos ? "" : value.substr(0, comma));
        doc_.web.favoriteUrls.emplace_back(comma == std::string_view::npos ? value : value.substr(comma + 1));
      }
      return;
    default: return entry(key, value);
  }
}

// The entry category that a section of the text holds; 0 for a section of settings.
int entryCategory(Section section) {
  const EntryKind* kind = entryKindOfSection(section);
  return kind ? kind->category : 0;
}

template <typename View>
View Loader::fields(std::string_view value) {
  using Form = script::EntryForm<View>;
  constexpr std::size_t expected = std::size(Form::fields);
  const std::size_t items = script::detail::splitFields(value).size();
  View view = script::readDocumentEntry<View>(value);
  if (items < expected) {
    note(Severity::Error, sectionLabel(*current_) + " entry has " + decimal(long(items)) +
                              " field(s), " + decimal(long(expected)) +
                              " expected; the missing ones from " + Form::fields[items].name +
                              " on take their defaults");
  } else if (items > expected && notesExtraCommas<View>()) {
    const auto& free = Form::fields[Form::freeText - 1];
    note(Severity::Warning, sectionLabel(*current_) + " entry has " + decimal(long(items)) +
                                " fields, " + decimal(long(expected)) +
                                " expected; the extra commas are read as part of its " +
                                free.name + " " + quoted((view.*(free.member)).text("")));
  }
  return view;
}

int Loader::field(const script::FieldText& f, std::string_view def, const char* name) {
  if (!f.present()) return number(def);
  return checkedNumber(f.text(""), std::string("field ") + name);
}

EntryKey Loader::reference(const script::FieldText& f, const char* name, int category) {
  int index = field(f, "0", name);
  EntryKey key = resolve(category, index);
  if (key != 0 || index == -1 || !f.present()) return key;
  int read = doc_.count(category) - base_[std::size_t(category)];
  note(Severity::Error, std::string("field ") + name + " " + decimal(index) + " names no entry of " +
                            sectionLabel(sectionOf(category)) + " (" + decimal(read) +
                            " read so far); read as none");
  return 0;
}

void Loader::entry(std::string_view key, std::string_view value) {
  const int category = entryCategory(*current_);
  // References count the entries in the order they are written; a key that says otherwise
  // suggests a reference meant by that number.
  const int here = readHere_[std::size_t(category)]++;
  if (!commentLine_ && text::trim(key) != decimal(here)) {
    note(Severity::Warning, sectionLabel(*current_) + " entry " + quoted(key) + " is entry " +
                                decimal(here) + " of the section: references count entries in "
                                "the order written, not by their keys");
  }
  Entry made = makeEntry(category);
  switch (category) {
    case category::Directories: {
      auto f = fields<script::DirectoryEntry>(value);
      made = DirectoryRecord{f.path.text("?"), field(f.root, "0", "root"),
                            field(f.optional, "0", "optional"), f.label.text("?")};
      break;
    }
    case category::Descriptions: made = DescriptionRecord{std::string(value)}; break;
    case category::Groups: made = GroupRecord{std::string(value)}; break;
    case category::WinIni: {
      auto f = fields<script::IniEntry>(value);
      made = IniRecord{f.section.text("?"), f.key.text("?"), f.value.text("?")};
      break;
    }
    case category::Registry: {
      auto f = fields<script::RegistryEntry>(value);
      made = RegistryRecord{field(f.root, "?", "root"), f.subkey.text("?"), f.name.text("?"),
                           f.data.text("?"), field(f.removal, "?", "removal")};
      break;
    }
    case category::Files: made = fileEntry(value); break;
    case category::ProgramAdds: {
      auto f = fields<script::DocumentShortcutEntry>(value);
      made = ShortcutRecord{reference(f.file, "file", category::Files),
                           reference(f.group, "group", category::Groups),
                           f.name.text("?"), f.arguments.text("?")};
      break;
    }
    case category::Messages: {
      auto f = fields<script::DocumentMessageEntry>(value);
      made = MessageRecord{f.target.text("?"), field(f.disk, "?", "disk"), f.path.text("?")};
      break;
    }
    default: return;
  }
  setKey(made, doc_.newKey());
  doc_.appendEntry(std::move(made));
}

FileRecord Loader::fileEntry(std::string_view value) {
  auto f = fields<script::DocumentFileEntry>(value);
  FileRecord e;
  e.sourceName = f.source.text("?");
  e.destName = f.target.text("?");
  e.disk = field(f.disk, "1", "disk");
  e.uninstall = field(f.uninstall, "1", "uninstall");
  e.forceCopy = field(f.force, "0", "force");
  e.decompress = field(f.expand, "1", "expand");
  e.size = field(f.size, "0", "size");
  e.directoryRef = reference(f.dir, "dir", category::Directories);
  e.descriptionRef = reference(f.desc, "desc", category::Descriptions);
  e.predefinedDir = field(f.predefinedDir, "0", "predefinedDir");
  e.platform = field(f.platform, "0", "platform");
  e.sourcePath = f.sourcePath.text("?");
  e.shared = field(f.shared, "0", "shared");
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
    ++lineNumber_;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    if (std::optional<Section> found = matchSection(line)) {
      sectionLine(*found);
      continue;
    }
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      lineWithoutEquals(line);
      continue;
    }
    ++count;
    this->line(line.substr(0, equals), line.substr(equals + 1));
  }
  const int lastLine = lineNumber_;
  // The uninstall group read here designates the group at that index among the groups this
  // text brought in (the existing groups come first when importing).
  int unGroup = doc_.uninstall.unGroup;
  if (count > 0 && unGroupRead_ && unGroup >= 0) {
    if (EntryKey key = resolve(category::Groups, unGroup)) {
      doc_.uninstall.groupKey = key;
    } else {
      lineNumber_ = unGroupLine_;
      note(Severity::Warning, "UnGroup " + decimal(unGroup) + " names no entry of [Groups] (" +
                                  decimal(readHere_[category::Groups]) +
                                  " read); it is not used");
    }
  }
  lineNumber_ = lastLine;
  noteLeftOut();
  return count;
}

}  // namespace

int loadDocumentText(CScriptDoc& doc, std::string_view text) {
  return Loader(doc, nullptr, {}).run(text);
}

int loadDocumentText(CScriptDoc& doc, std::string_view text, LoadDiagnostics& diagnostics,
                     std::string_view file) {
  return Loader(doc, &diagnostics, file).run(text);
}

}  // namespace vandrel::builder
