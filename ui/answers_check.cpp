// Checking an answers file line by line against the sections and keys the programs read.
#include "ui/answers_check.h"

#include <cstdlib>
#include <map>
#include <optional>

#include "platform/bounded_read.h"
#include "platform/text/text_rules.h"
#include "ui/dialog_text.h"

namespace vandrel::ui {
namespace {

constexpr const char* kAnswerWords = "Yes, No, Cancel, OK or YesToAll";
constexpr const char* kZeroOrOne = "0 or 1";

// A line of the file as the profile rules read it: blanks around names and values dropped,
// one pair of quotes around a value too.
struct Line {
  enum class Kind { Blank, Comment, Section, Entry, Other } kind = Kind::Blank;
  std::string name;   // section name or key
  std::string value;  // entry value
};

std::string_view trimmed(std::string_view text) { return text::trim(text, " \t\r\v\f"); }

std::string unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

Line readLine(std::string_view text) {
  std::string_view body = trimmed(text);
  Line line;
  if (body.empty()) return line;
  if (body[0] == ';') {
    line.kind = Line::Kind::Comment;
    return line;
  }
  std::size_t close = body.rfind(']');
  if (body[0] == '[' && close != std::string_view::npos) {
    line.kind = Line::Kind::Section;
    line.name = trimmed(body.substr(1, close - 1));
    return line;
  }
  std::size_t equals = body.find('=');
  if (equals == std::string_view::npos) {
    line.kind = Line::Kind::Other;
    return line;
  }
  line.kind = Line::Kind::Entry;
  line.name = trimmed(body.substr(0, equals));
  line.value = unquoted(trimmed(body.substr(equals + 1)));
  return line;
}

// The file's lines, numbered from 1; a UTF-8 byte-order mark before the first is dropped.
std::vector<std::string_view> linesOf(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string lower(std::string_view text) { return text::toLower(std::string(text)); }

bool allDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A numbered key as the programs look it up: 1, 2, 3, ... written without leading zeros.
bool isNumberKey(std::string_view key) { return allDigits(key) && key[0] != '0'; }

// The section's name as the table writes it; nullopt for a section the programs do not read.
std::optional<std::string> knownSection(std::string_view name) {
  for (const AnswersKey& key : answersKeys()) {
    if (lower(key.section) == lower(name)) return std::string(key.section);
  }
  return std::nullopt;
}

const AnswersKey* knownKey(const std::string& section, std::string_view name) {
  for (const AnswersKey& key : answersKeys()) {
    if (key.section != section) continue;
    if (key.key == std::string(kNumbered) ? isNumberKey(name) : lower(key.key) == lower(name)) return &key;
  }
  return nullptr;
}

std::string sectionList() {
  std::vector<std::string> names;
  for (const AnswersKey& key : answersKeys()) {
    std::string name = std::string("[") + key.section + "]";
    if (names.empty() || names.back() != name) names.push_back(name);
  }
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i) {
    list += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
  }
  return list;
}

std::string keyList(const std::string& section) {
  std::vector<std::string> keys;
  for (const AnswersKey& key : answersKeys()) {
    if (key.section == section) keys.push_back(key.key == std::string(kNumbered) ? "1, 2, 3, ..." : key.key);
  }
  std::string list;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    list += (i == 0 ? "" : i + 1 == keys.size() ? " or " : ", ") + keys[i];
  }
  return list;
}

std::string pageList() {
  std::string list = "an empty value or one of";
  for (const std::string& page : answersPageNames()) list += " " + page;
  return list;
}

// The items of a comma list, blanks around each dropped, empty items left out.
std::vector<std::string> commaItems(std::string_view list) {
  std::vector<std::string> items;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) comma = list.size();
    std::string item(trimmed(list.substr(start, comma - start)));
    if (!item.empty()) items.push_back(item);
    start = comma + 1;
  }
  return items;
}

bool isAllOrNone(std::string_view value) {
  std::string word = lower(trimmed(value));
  return word == "all" || word == "none";
}

// The finding for a value of the wrong form, if it has one.
std::optional<AnswersFinding> checkValue(const AnswersKey& key, const std::string& name,
                                         const std::string& value) {
  std::string section = key.section, keyName = key.key;
  std::string what = "[" + section + "] " + name + "=" + value + ": ";
  std::string bare(trimmed(value));
  if (section == "Answers") {
    if (!parseAnswer(bare)) return AnswersFinding{0, what + "not an answer", kAnswerWords};
  } else if (keyName == "Sharing" || keyName == "Backup") {
    if (bare != "0" && bare != "1") return AnswersFinding{0, what + "not 0 or 1", kZeroOrOne};
  } else if (keyName == "Cancel") {
    bool known = bare.empty();
    for (const std::string& page : answersPageNames()) known = known || lower(bare) == page;
    if (!known) {
      std::string more = lower(bare) == "progress" ? " (a copy is cancelled by [Progress] CancelOn)" : "";
      return AnswersFinding{0, what + "no page of that name" + more, pageList(), true};
    }
  } else if (keyName == "Components") {
    if (isAllOrNone(bare)) return std::nullopt;
    for (const std::string& item : commaItems(bare)) {
      if (!allDigits(item)) return AnswersFinding{0, what + "\"" + item + "\" is not a number", key.expected};
    }
  } else if (section == "Choices" && !bare.empty() && bare[0] == '#') {
    if (!isNumberKey(trimmed(std::string_view(bare).substr(1)))) {
      return AnswersFinding{0, what + "not an item number", key.expected};
    }
  }
  return std::nullopt;
}

struct Walk {
  std::vector<AnswersFinding> findings;
  std::map<std::string, int> sectionLines;           // section -> line first given
  std::map<std::string, int> keyLines;                // section|key -> line first given
  std::optional<std::string> section;                 // the known section of the lines
  bool inUnknownSection = false;
  bool beforeSections = true;
};

void add(Walk& walk, int line, AnswersFinding finding) {
  finding.line = line;
  walk.findings.push_back(std::move(finding));
}

void sectionLine(Walk& walk, int number, const Line& line) {
  walk.beforeSections = false;
  walk.section = knownSection(line.name);
  walk.inUnknownSection = !walk.section;
  if (!walk.section) {
    add(walk, number, {0, "unknown section [" + line.name + "]", sectionList(), true});
    return;
  }
  auto [first, added] = walk.sectionLines.emplace(*walk.section, number);
  if (!added) {
    add(walk, number, {0, "section [" + line.name + "] again (first on line " + std::to_string(first->second) +
                              "): its entries would be ignored", "each section once"});
    walk.section.reset();  // its entries are not looked at again
  }
}

void entryLine(Walk& walk, int number, const Line& line) {
  if (walk.beforeSections) {
    add(walk, number, {0, "entry " + line.name + "= before any section", sectionList() + " first", true});
    return;
  }
  if (!walk.section) return;  // reported with its section
  const AnswersKey* key = knownKey(*walk.section, line.name);
  if (!key) {
    add(walk, number, {0, "unknown key " + line.name + " in [" + *walk.section + "]", keyList(*walk.section), true});
    return;
  }
  std::string id = *walk.section + "|" + lower(line.name);
  auto [first, added] = walk.keyLines.emplace(id, number);
  if (!added) {
    add(walk, number, {0, "key " + line.name + " again (first on line " + std::to_string(first->second) +
                              "): this value would be ignored", "each key once in its section"});
    return;
  }
  if (auto finding = checkValue(*key, line.name, line.value)) add(walk, number, *finding);
}

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The text of the file the run answers from; nullopt when it has none or it cannot be read.
std::optional<std::string> answersText() {
  InteractionSettings settings;
  settings.answersFile = environment("VANDREL_ANSWERS");
  if (settings.answersFile.empty() || !answersFileUsed(settings)) return std::nullopt;
  return platform::readHostFileBounded(settings.answersFile, platform::kTextFileLimit, nullptr);
}

bool lenientAnswers() { return trimmed(environment("VANDREL_ANSWERS_LENIENT")) == "1"; }

}  // namespace

const std::vector<AnswersKey>& answersKeys() {
  static const std::vector<AnswersKey> kKeys = {
      {"Wizard", "UserName", "any text"},
      {"Wizard", "Company", "any text"},
      {"Wizard", "Serial", "any text"},
      {"Wizard", "Components", "all, none or a comma list of the package's optional [Directories] numbers"},
      {"Wizard", "Sharing", kZeroOrOne},
      {"Wizard", "Folder", "a Windows folder"},
      {"Wizard", "Backup", kZeroOrOne},
      {"Wizard", "Cancel", "an empty value or a page name"},
      {"Answers", kNumbered, kAnswerWords},
      {"Answers", "Default", kAnswerWords},
      {"Folders", kNumbered, "a Windows folder, or an empty value to cancel"},
      {"Folders", "Destination", "a Windows folder, or an empty value to cancel"},
      {"Choices", kNumbered, "an item's text, #N for the N-th item, or an empty value to cancel"},
      {"Progress", "CancelOn", "a text of a progress line"},
      {"Builder", "Commands", "a comma list of the builder's commands"},
  };
  return kKeys;
}

const std::vector<std::string>& answersPageNames() {
  static const std::vector<std::string> kPages = {"first", "notice", "licence", "registration",
                                                  "components", "sharing", "destination"};
  return kPages;
}

std::vector<AnswersFinding> checkAnswersText(std::string_view text) {
  Walk walk;
  std::vector<std::string_view> lines = linesOf(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    int number = static_cast<int>(i + 1);
    Line line = readLine(lines[i]);
    switch (line.kind) {
      case Line::Kind::Blank:
      case Line::Kind::Comment:
        break;
      case Line::Kind::Section:
        sectionLine(walk, number, line);
        break;
      case Line::Kind::Entry:
        entryLine(walk, number, line);
        break;
      case Line::Kind::Other:
        add(walk, number, {0, "\"" + std::string(trimmed(lines[i])) + "\" is no section, entry or comment",
                           "[Section], Key=Value or a ; comment"});
        break;
    }
  }
  return walk.findings;
}

std::vector<AnswersFinding> checkAnswersComponents(std::string_view text,
                                                   const std::vector<long>& optionalDirectories) {
  std::string offered;
  for (long number : optionalDirectories) offered += (offered.empty() ? "" : ", ") + std::to_string(number);
  std::string expected = offered.empty() ? "no Components entry: this package has no optional components"
                                         : "all, none or a comma list of " + offered;
  std::vector<AnswersFinding> findings;
  bool inWizard = false;
  std::vector<std::string_view> lines = linesOf(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    Line line = readLine(lines[i]);
    if (line.kind == Line::Kind::Section) inWizard = lower(line.name) == "wizard";
    if (line.kind != Line::Kind::Entry || !inWizard || lower(line.name) != "components") continue;
    if (isAllOrNone(line.value)) break;
    for (const std::string& item : commaItems(line.value)) {
      bool known = false;
      for (long number : optionalDirectories) known = known || (allDigits(item) && std::stol(item) == number);
      if (!known) {
        findings.push_back({static_cast<int>(i + 1),
                            "component " + item + " is not an optional component of this package", expected, true});
      }
    }
    break;  // the first entry is the one the setup reads
  }
  return findings;
}

bool reportAnswersFindings(const std::string& program, const std::string& file,
                           const std::vector<AnswersFinding>& findings, bool lenient, std::FILE* err,
                           bool warnings) {
  bool accepted = true;
  for (const AnswersFinding& finding : findings) {
    bool warning = lenient && finding.unknownEntry;
    accepted = accepted && warning;
    if (warning && !warnings) continue;
    std::fprintf(err, "%s: %s(%d): %s%s; expected %s%s\n", program.c_str(), file.c_str(), finding.line,
                 warning ? "warning: " : "", finding.what.c_str(), finding.expected.c_str(),
                 warning ? "; ignored" : "");
  }
  std::fflush(err);
  return accepted;
}

bool answersFileAccepted(const std::string& program, bool warnings) {
  std::optional<std::string> text = answersText();
  if (!text) return true;
  return reportAnswersFindings(program, environment("VANDREL_ANSWERS"), checkAnswersText(*text),
                               lenientAnswers(), stderr, warnings);
}

bool answersComponentsAccepted(const std::string& program, const std::vector<long>& optionalDirectories,
                               bool warnings) {
  std::optional<std::string> text = answersText();
  if (!text) return true;
  return reportAnswersFindings(program, environment("VANDREL_ANSWERS"),
                               checkAnswersComponents(*text, optionalDirectories), lenientAnswers(), stderr,
                               warnings);
}

}  // namespace vandrel::ui
