// An INI text held in memory, looked up and edited with the rules of the Windows profile
// functions.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vandrel::platform {

class IniDocument {
 public:
  static IniDocument parse(std::string_view text);

  // The first occurrence of the key in the first section of that name, names matched without
  // regard to case; blanks around the value and one pair of surrounding quotes removed.
  // Empty when the section or the key is missing. An empty section name stands for the lines
  // before the first section line; an empty key finds an entry line that begins with "=".
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  bool hasSection(std::string_view section) const;
  std::vector<std::string> sectionNames() const;
  std::vector<std::string> keyNames(std::string_view section) const;

  // Edits as WritePrivateProfileStringA makes them; every other line stays as it was. Each
  // says whether the text changed.
  bool set(std::string_view section, std::string_view key, std::string_view value);
  bool removeKey(std::string_view section, std::string_view key);
  bool removeSection(std::string_view section);

  std::size_t lineCount() const;

  // The text to write back (CR LF line ends).
  std::string text() const;

 private:
  // The lines of one section: its section line, then the lines up to the next one. The
  // first block holds the lines before the first section line and has no section line.
  struct Block {
    std::vector<std::string> lines;
    std::string name;       // as written, blanks around it removed
    std::size_t body = 0;   // its first line after the section line
    std::vector<std::size_t> entries;                         // listed entry lines, in order
    std::unordered_map<std::string, std::size_t> firstEntry;  // lower-case key -> line
  };
  std::vector<Block> blocks_;
  std::unordered_map<std::string, std::size_t> firstSection_;  // lower-case name -> block

  const Block* find(std::string_view section) const;
  bool isFirstLine(std::size_t block, std::size_t line) const;
  void addLine(std::string line);
  void indexBlock(std::size_t block);
  // Splits all lines into blocks again and rebuilds the index.
  void resplit();
};

}  // namespace vandrel::platform
