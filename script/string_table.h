// Numbered strings of a program, looked up by id; %1 and %2 filled as the framework does.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vandrel::script {

struct StringEntry {
  unsigned id;
  const char* text;
};

class StringTable {
 public:
  StringTable(std::initializer_list<StringEntry> entries);

  bool has(unsigned id) const;
  // The string; the empty text for an unknown id.
  std::string get(unsigned id) const;
  // Item k (from 1) of a comma-list string, with a default.
  std::string item(unsigned id, int k, std::string_view def = "") const;
  // The string with %1 and %2 replaced.
  std::string format(unsigned id, std::string_view arg1, std::string_view arg2 = "") const;

 private:
  std::unordered_map<unsigned, std::string> strings_;
};

// %1 and %2 of a text replaced (AfxFormatString2 rules).
std::string formatMessage(std::string_view text, std::string_view arg1, std::string_view arg2 = "");

}  // namespace vandrel::script
