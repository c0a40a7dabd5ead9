// INI text parsed and edited with the rules of the Windows profile functions.
//
// The text is kept as its lines, untouched, so that an edit changes only the lines it
// concerns. The lines are grouped by section, each group with its own index built in one
// pass, so lookups take constant time and an added entry costs no more in a large file
// than in a small one.
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

IniDocument IniDocument::parse(std::string_view text) {
  IniDocument document;
  document.blocks_.emplace_back();
  document.firstSection_.emplace(std::string(), 0);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      document.addLine(std::string(text.substr(start)));
      break;
    }
    document.addLine(std::string(text.substr(start, end - start)));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return document;
}

bool IniDocument::isFirstLine(std::size_t block, std::size_t line) const {
  // Every block but the first begins with its section line, so only the first can be empty.
  return line == 0 && (block == 0 || (block == 1 && blocks_[0].lines.empty()));
}

void IniDocument::addLine(std::string line) {
  // The nameless first block is always there, so that it is the first section of the empty
  // name; a section line opens a new block, any other line goes to the last one.
  if (blocks_.empty()) {
    blocks_.emplace_back();
    firstSection_.emplace(std::string(), 0);
  }
  std::size_t last = blocks_.size() - 1;
  ParsedLine parsed = parseLine(line, isFirstLine(last, blocks_[last].lines.size()));
  if (parsed.kind == LineKind::Section) {
    Block block;
    block.name = std::string(parsed.name);
    block.body = 1;
    firstSection_.emplace(text::toLower(parsed.name), blocks_.size());
    block.lines.push_back(std::move(line));
    blocks_.push_back(std::move(block));
    return;
  }
  Block& block = blocks_[last];
  std::size_t at = block.lines.size();
  if (parsed.kind == LineKind::Entry) {
    if (!parsed.comment) block.entries.push_back(at);
    block.firstEntry.emplace(text::toLower(parsed.name), at);
  }
  block.lines.push_back(std::move(line));
}

void IniDocument::indexBlock(std::size_t index) {
  Block& block = blocks_[index];
  block.entries.clear();
  block.firstEntry.clear();
  for (std::size_t i = block.body; i < block.lines.size(); ++i) {
    ParsedLine parsed = parseLine(block.lines[i], isFirstLine(index, i));
    if (parsed.kind != LineKind::Entry) continue;
    if (!parsed.comment) block.entries.push_back(i);
    block.firstEntry.emplace(text::toLower(parsed.name), i);
  }
}

void IniDocument::resplit() {
  std::vector<Block> old = std::move(blocks_);
  blocks_.clear();
  firstSection_.clear();
  blocks_.emplace_back();
  firstSection_.emplace(std::string(), 0);
  for (Block& block : old) {
    for (std::string& line : block.lines) addLine(std::move(line));
  }
}

const IniDocument::Block* IniDocument::find(std::string_view name) const {
  auto it = firstSection_.find(text::toLower(trim(name)));
  return it == firstSection_.end() ? nullptr : &blocks_[it->second];
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
  const Block* found = find(section);
  if (!found) return std::nullopt;
  auto it = found->firstEntry.find(text::toLower(trim(key)));
  if (it == found->firstEntry.end()) return std::nullopt;
  std::size_t block = static_cast<std::size_t>(found - blocks_.data());
  return unquote(parseLine(found->lines[it->second], isFirstLine(block, it->second)).value);
}

bool IniDocument::hasSection(std::string_view section) const { return find(section) != nullptr; }

std::vector<std::string> IniDocument::sectionNames() const {
  std::vector<std::string> names;
  for (const Block& block : blocks_) {
    if (!block.name.empty()) names.push_back(block.name);
  }
  return names;
}

std::vector<std::string> IniDocument::keyNames(std::string_view section) const {
  std::vector<std::string> names;
  const Block* found = find(section);
  if (!found) return names;
  std::size_t block = static_cast<std::size_t>(found - blocks_.data());
  for (std::size_t line : found->entries) {
    names.emplace_back(parseLine(found->lines[line], isFirstLine(block, line)).name);
  }
  return names;
}

bool IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
  std::string_view sectionName = trim(section);
  std::string_view keyName = trim(key);
  std::string wantedKey = text::toLower(keyName);
  // The value is written without its surrounding blanks, as Windows writes it (reading
  // would drop them anyway).
  value = trim(value);
  std::string entry = std::string(keyName) + "=" + std::string(value);
  if (blocks_.empty()) resplit();
  const Block* found = find(sectionName);
  if (!found) {
    addLine("[" + std::string(sectionName) + "]");
    addLine(std::move(entry));
    return true;
  }
  std::size_t index = static_cast<std::size_t>(found - blocks_.data());
  Block& block = blocks_[index];
  auto it = block.firstEntry.find(wantedKey);
  if (it != block.firstEntry.end()) {
    // The key keeps its spelling; only the value changes.
    std::size_t at = it->second;
    std::string existing(parseLine(block.lines[at], isFirstLine(index, at)).name);
    std::string line = existing + "=" + std::string(value);
    if (line == block.lines[at]) return false;
    ParsedLine parsed = parseLine(line, isFirstLine(index, at));
    block.lines[at] = std::move(line);
    // A value that makes the line read as something else changes the structure.
    if (parsed.kind != LineKind::Entry || text::toLower(parsed.name) != it->first) resplit();
    return true;
  }
  // After the section's last non-blank line, so that blank lines separating it from the
  // next section stay after it; only blank lines follow, so no indexed line moves.
  std::size_t at = block.lines.size();
  while (at > block.body && trim(block.lines[at - 1]).empty()) --at;
  bool wasFirst = isFirstLine(index, at) || (index == 0 && block.lines.empty());
  block.lines.insert(block.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
  ParsedLine parsed = parseLine(block.lines[at], isFirstLine(index, at));
  if (wasFirst || parsed.kind != LineKind::Entry || text::toLower(parsed.name) != wantedKey) {
    resplit();
    return true;
  }
  if (!parsed.comment) block.entries.push_back(at);
  block.firstEntry.emplace(wantedKey, at);
  return true;
}

bool IniDocument::removeKey(std::string_view section, std::string_view key) {
  // Only the occurrence that reads see is removed, as WritePrivateProfileStringA does.
  const Block* found = find(section);
  if (!found) return false;
  auto it = found->firstEntry.find(text::toLower(trim(key)));
  if (it == found->firstEntry.end()) return false;
  std::size_t index = static_cast<std::size_t>(found - blocks_.data());
  std::size_t line = it->second;
  Block& block = blocks_[index];
  block.lines.erase(block.lines.begin() + static_cast<std::ptrdiff_t>(line));
  if (isFirstLine(index, line)) {
    resplit();  // another line becomes the first of the text
  } else {
    indexBlock(index);
  }
  return true;
}

bool IniDocument::removeSection(std::string_view section) {
  // Every section of the name goes, so that a later duplicate does not take its place. The
  // lines before the first section line (comments among them) are never removed this way.
  std::string_view name = trim(section);
  if (name.empty()) return false;
  std::string wanted = text::toLower(name);
  bool any = false;
  for (std::size_t b = 1; b < blocks_.size(); ++b) {
    if (text::toLower(blocks_[b].name) != wanted) continue;
    blocks_[b].lines.clear();
    any = true;
  }
  if (any) resplit();
  return any;
}

std::size_t IniDocument::lineCount() const {
  std::size_t count = 0;
  for (const Block& block : blocks_) count += block.lines.size();
  return count;
}

std::string IniDocument::text() const {
  std::string out;
  std::size_t total = 0;
  for (const Block& block : blocks_) {
    for (const std::string& line : block.lines) total += line.size() + 2;
  }
  out.reserve(total);
  for (const Block& block : blocks_) {
    for (const std::string& line : block.lines) {
      out += line;
      out += "\r\n";
    }
  }
  return out;
}

}  // namespace vandrel::platform
