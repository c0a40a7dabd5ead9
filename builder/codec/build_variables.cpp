// Expanding $(NAME) in entry fields, and finding in a document text what cannot be expanded.
#include "builder/codec/build_variables.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "builder/codec/document_settings.h"
#include "platform/text/text_rules.h"
#include "script/schema.h"

namespace vandrel::builder {

namespace {

constexpr std::string_view kEscape = "$$(";
constexpr std::string_view kOpen = "$(";

bool isNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The section a line starts when it is exactly a section's bracketed name (any case), as the
// document loader reads section lines.
std::optional<script::Section> sectionStarted(std::string_view line) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
  std::string_view name = line.substr(1, line.size() - 2);
  for (script::Section section : script::documentSections()) {
    if (text::equalsNoCase(name, script::sectionName(section))) return section;
  }
  return std::nullopt;
}

// Whether the value of the key line key in section is a field that a build fills in.
bool filledIn(script::Section section, std::string_view key) {
  switch (section) {
    case script::Section::Directories:
    case script::Section::Descriptions:
    case script::Section::Groups:
    case script::Section::AddIni:
    case script::Section::Registry:
    case script::Section::Shortcuts:
      return true;
    case script::Section::End: return !text::equalsNoCase(key, script::key::Reboot);
    case script::Section::Web: return !text::equalsNoCase(key, script::key::StartURL);
    default: return false;
  }
}

void expandEach(std::vector<std::string>& texts, const BuildVariables& variables,
                std::vector<std::string>& problems) {
  for (std::string& text : texts) text = variables.expand(text, problems);
}

}  // namespace

bool isBuildVariableName(std::string_view name) {
  return !name.empty() && isNameStart(name.front()) &&
         std::all_of(name.begin(), name.end(), isNameChar);
}

BuildVariables::BuildVariables(const CScriptDoc& doc, BuildValues given)
    : doc_(doc), given_(std::move(given)), used_(given_.size(), false) {}

std::optional<std::string> BuildVariables::valueOf(std::string_view name) const {
  std::optional<std::string> value;
  for (std::size_t i = given_.size(); i-- > 0;) {
    if (!text::equalsNoCase(given_[i].first, name)) continue;
    used_[i] = true;  // an earlier value of the name is used up by the later one
    if (!value) value = given_[i].second;
  }
  return value ? value : settingValue(doc_, name);
}

std::vector<std::string> BuildVariables::unusedGiven() const {
  std::vector<std::string> unused;
  for (std::size_t i = 0; i < given_.size(); ++i) {
    if (!used_[i]) unused.push_back(given_[i].first);
  }
  return unused;
}

std::string BuildVariables::expand(std::string_view text, std::vector<std::string>& problems) const {
  std::vector<std::string> open;
  return expandWithin(text, problems, open);
}

// open holds the names whose values are being expanded, outermost first: meeting one of them
// again would never end.
std::string BuildVariables::expandWithin(std::string_view text, std::vector<std::string>& problems,
                                         std::vector<std::string>& open) const {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text.substr(i, kEscape.size()) == kEscape) {
      out += kOpen;
      i += kEscape.size();
      continue;
    }
    if (text.substr(i, kOpen.size()) != kOpen) {
      out += text[i++];
      continue;
    }
    std::size_t close = text.find(')', i + kOpen.size());
    if (close == std::string_view::npos) {
      problems.push_back("\"$(\" without \")\" (write $$( for a plain \"$(\")");
      out += text.substr(i);
      break;
    }
    std::string_view written = text.substr(i, close + 1 - i);
    std::string name(text.substr(i + kOpen.size(), close - i - kOpen.size()));
    i = close + 1;
    auto same = [&name](const std::string& other) { return text::equalsNoCase(other, name); };
    std::optional<std::string> value;
    if (!isBuildVariableName(name)) {
      problems.push_back(std::string(written) +
                         " is no build variable: a name is a letter or _, then letters, digits "
                         "and _ (write $$( for a plain \"$(\")");
    } else if (std::any_of(open.begin(), open.end(), same)) {
      problems.push_back("build variable $(" + name + ") refers to itself");
    } else if (!(value = valueOf(name))) {
      problems.push_back("unknown build variable $(" + name + "): give it with --set " + name +
                         "=VALUE");
    }
    if (!value) {
      out += written;
      continue;
    }
    open.push_back(name);
    out += expandWithin(*value, problems, open);
    open.pop_back();
  }
  return out;
}

LoadDiagnostics buildVariableFindings(std::string_view documentText,
                                      const BuildVariables& variables, const std::string& file) {
  LoadDiagnostics findings;
  std::optional<script::Section> section;
  int lineNumber = 0;
  std::size_t start = 0;
  while (start < documentText.size()) {
    std::size_t end = documentText.find('\n', start);
    if (end == std::string_view::npos) end = documentText.size();
    std::string_view line = documentText.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (std::optional<script::Section> started = sectionStarted(line)) {
      section = started;
      continue;
    }
    std::size_t equals = line.find('=');
    if (!section || equals == std::string_view::npos || !filledIn(*section, line.substr(0, equals)))
      continue;
    std::vector<std::string> problems;
    variables.expand(line.substr(equals + 1), problems);
    for (std::string& problem : problems) {
      findings.push_back({file, lineNumber, Severity::Error, std::move(problem)});
    }
  }
  return findings;
}

CScriptDoc expandedForBuild(const CScriptDoc& doc, const BuildValues& given) {
  BuildVariables variables(doc, given);
  CScriptDoc built = doc;
  // What cannot be expanded stays as written: the findings were the caller's to report.
  std::vector<std::string> ignored;
  auto fill = [&](std::string& text) { text = variables.expand(text, ignored); };
  for (DirectoryRecord& d : built.directories) {
    fill(d.name);
    fill(d.description);
  }
  for (DescriptionRecord& d : built.descriptions) fill(d.text);
  for (GroupRecord& g : built.groups) fill(g.name);
  for (IniRecord& e : built.iniEntries) {
    fill(e.section);
    fill(e.entry);
    fill(e.value);
  }
  for (RegistryRecord& r : built.registryEntries) {
    fill(r.subkey);
    fill(r.entry);
    fill(r.value);
  }
  for (ShortcutRecord& s : built.shortcuts) {
    fill(s.name);
    fill(s.commandLine);
  }
  expandEach(built.endOfInstall.launch, variables, ignored);
  expandEach(built.web.favoriteNames, variables, ignored);
  expandEach(built.web.favoriteUrls, variables, ignored);
  return built;
}

}  // namespace vandrel::builder
