// INI text parsed and edited with the rules of the Windows profile functions.
//
// The text is kept as its lines, untouched, so that an edit changes only the lines it
// concerns; an index built in one pass over the lines serves the lookups in constant time.
//
// Reading rules (those of GetPrivateProfileStringA):
// - a line whose first non-blank character is "[" and which holds a "]" is a section line;
//   the name runs to the last "]" of the line, blanks around it ignored;
// - a line ends at a line feed, a carriage return, or both;
// - a line holding "=" is an entry: the key is the text before the first "=" (it may be
//   empty), the value the text after it, both without surrounding blanks, and the value
//   ends at a null byte; a line without "=" is not an entry (Windows neither finds nor lists
//   it);
// - a line whose first non-blank character is ";" is a comment: it is never listed, but an
//   entry in it is found by its full key (";name"), as Windows does;
// - the lines before the first section line form a section whose name is empty: its
//   entries are read with an empty section name, and a later "[]" section, which would have
//   the same name, is never reached; sections with an empty name are not listed;
// - names are matched without regard to (ASCII) case; the first section of a name and the
//   first entry of a key in it win.
#include "platform/ini/ini_document.h"

#include <unordered_map>

#include "platform/text/text_rules.h"

namespace vandrel::platform {

namespace {

// Blanks around the parts of a line are not significant (a line never holds a line feed).
std::string_view trim(std::string_view text) { return text::trim(text, " \t\r\v\f"); }

enum class LineKind { Other, Section, Entry };

struct ParsedLine {
  LineKind kind = LineKind::Other;
  bool comment = false;
  std::string_view name;   // section name or key, trimmed
  std::string_view value;  // entry value, trimmed
};

ParsedLine parseLine(std::string_view line, bool first) {
  // A UTF-8 byte-order mark before the first line is not part of it.
  if (first && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
  std::string_view body = trim(line);
  ParsedLine parsed;
  if (body.empty()) return parsed;
  parsed.comment = body[0] == ';';
  if (body[0] == '[') {
    std::size_t close = body.rfind(']');
    if (close != std::string_view::npos) {
      parsed.kind = LineKind::Section;
      parsed.name = trim(body.substr(1, close - 1));
      return parsed;
    }
  }
  std::size_t equals = body.find('=');
  if (equals == std::string_view::npos) return parsed;
  parsed.kind = LineKind::Entry;
  parsed.name = trim(body.substr(0, equals));
  parsed.value = trim(body.substr(equals + 1));
  parsed.value = parsed.value.substr(0, parsed.value.find('\0'));
  return parsed;
}

std::string unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

}  // namespace

struct IniDocument::Index {
  struct Section {
    std::string name;                // as written
    std::size_t body = 0;            // its first line after "[name]" (0 for the nameless first)
    std::size_t end = 0;             // one past its last line
    std::vector<std::size_t> entries;  // entry lines that are listed, in order
    std::unordered_map<std::string, std::size_t> firstEntry;  // lower-case key -> line
  };
  std::vector<Section> sections;
  std::unordered_map<std::string, std::size_t> firstSection;  // lower-case name -> section

  const Section* find(std::string_view name) const {
    auto it = firstSection.find(text::toLower(trim(name)));
    return it == firstSection.end() ? nullptr : &sections[it->second];
  }
};

IniDocument IniDocument::parse(std::string_view text) {
  IniDocument document;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      document.lines_.emplace_back(text.substr(start));
      break;
    }
    document.lines_.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  document.reindex();
  return document;
}

void IniDocument::reindex() {
  auto index = std::make_shared<Index>();
  // The nameless section of the lines before the first section line; always there, so that
  // it is the first section of the empty name.
  index->sections.push_back({std::string(), 0, lines_.size(), {}, {}});
  index->firstSection.emplace(std::string(), 0);
  Index::Section* current = &index->sections.back();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    ParsedLine parsed = parseLine(lines_[i], i == 0);
    if (parsed.kind == LineKind::Section) {
      current->end = i;
      index->sections.push_back({std::string(parsed.name), i + 1, lines_.size(), {}, {}});
      current = &index->sections.back();
      index->firstSection.emplace(text::toLower(parsed.name), index->sections.size() - 1);
    } else if (parsed.kind == LineKind::Entry) {
      if (!parsed.comment) current->entries.push_back(i);
      current->firstEntry.emplace(text::toLower(parsed.name), i);
    }
  }
  index_ = std::move(index);
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
  const Index::Section* found = index_ ? index_->find(section) : nullptr;
  if (!found) return std::nullopt;
  auto it = found->firstEntry.find(text::toLower(trim(key)));
  if (it == found->firstEntry.end()) return std::nullopt;
  return unquote(parseLine(lines_[it->second], it->second == 0).value);
}

bool IniDocument::hasSection(std::string_view section) const {
  return index_ && index_->find(section) != nullptr;
}

std::vector<std::string> IniDocument::sectionNames() const {
  std::vector<std::string> names;
  if (!index_) return names;
  for (const Index::Section& section : index_->sections) {
    if (!section.name.empty()) names.push_back(section.name);
  }
  return names;
}

std::vector<std::string> IniDocument::keyNames(std::string_view section) const {
  std::vector<std::string> names;
  const Index::Section* found = index_ ? index_->find(section) : nullptr;
  if (!found) return names;
  for (std::size_t line : found->entries) {
    names.emplace_back(parseLine(lines_[line], line == 0).name);
  }
  return names;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
  std::string_view sectionName = trim(section);
  std::string_view keyName = trim(key);
  std::string entry = std::string(keyName) + "=" + std::string(value);
  if (!index_) reindex();
  const Index::Section* found = index_->find(sectionName);
  if (!found) {
    lines_.push_back("[" + std::string(sectionName) + "]");
    lines_.push_back(std::move(entry));
    reindex();
    return;
  }
  auto it = found->firstEntry.find(text::toLower(keyName));
  if (it != found->firstEntry.end()) {
    // The key keeps its spelling; only the value changes.
    std::string existing(parseLine(lines_[it->second], it->second == 0).name);
    lines_[it->second] = existing + "=" + std::string(value);
  } else {
    // After the section's last non-blank line, so that blank lines separating it from the
    // next section stay after it.
    std::size_t at = found->end;
    while (at > found->body && trim(lines_[at - 1]).empty()) --at;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
  }
  reindex();
}

void IniDocument::removeKey(std::string_view section, std::string_view key) {
  // Only the occurrence that reads see is removed, as WritePrivateProfileStringA does.
  const Index::Section* found = index_ ? index_->find(section) : nullptr;
  if (!found) return;
  auto it = found->firstEntry.find(text::toLower(trim(key)));
  if (it == found->firstEntry.end()) return;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(it->second));
  reindex();
}

void IniDocument::removeSection(std::string_view section) {
  // Every section of the name goes, so that a later duplicate does not take its place. The
  // lines before the first section line (comments among them) are never removed this way.
  std::string_view name = trim(section);
  if (name.empty() || !index_) return;
  std::string wanted = text::toLower(name);
  std::vector<bool> drop(lines_.size(), false);
  bool any = false;
  for (const Index::Section& s : index_->sections) {
    if (text::toLower(s.name) != wanted) continue;
    for (std::size_t i = s.body - 1; i < s.end; ++i) drop[i] = true;
    any = true;
  }
  if (!any) return;
  std::vector<std::string> kept;
  kept.reserve(lines_.size());
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (!drop[i]) kept.push_back(std::move(lines_[i]));
  }
  lines_ = std::move(kept);
  reindex();
}

std::string IniDocument::text() const {
  std::string out;
  std::size_t total = 0;
  for (const std::string& line : lines_) total += line.size() + 2;
  out.reserve(total);
  for (const std::string& line : lines_) {
    out += line;
    out += "\r\n";
  }
  return out;
}

}  // namespace vandrel::platform
