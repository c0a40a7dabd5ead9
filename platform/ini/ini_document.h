// An INI text held in memory, looked up and edited with the rules of the Windows profile
// functions.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
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

  // Edits as WritePrivateProfileStringA makes them; every other line stays as it was.
  void set(std::string_view section, std::string_view key, std::string_view value);
  void removeKey(std::string_view section, std::string_view key);
  void removeSection(std::string_view section);

  // The text to write back (CR LF line ends).
  std::string text() const;

 private:
  struct Impl;
  std::vector<std::string> lines_;
  // Lookup index, rebuilt after each edit; see the implementation.
  struct Index;
  std::shared_ptr<const Index> index_;
  void reindex();
};

}  // namespace vandrel::platform
