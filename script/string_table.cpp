// Numbered program strings and the %1/%2 message formatting.
#include "script/string_table.h"

#include "script/list_item.h"

namespace vandrel::script {

StringTable::StringTable(std::initializer_list<StringEntry> entries) {
  for (const StringEntry& entry : entries) {
    // The first entry of an id wins, as a resource table holds one string per id.
    strings_.emplace(entry.id, entry.text ? entry.text : "");
  }
}

bool StringTable::has(unsigned id) const { return strings_.count(id) != 0; }

std::string StringTable::get(unsigned id) const {
  auto it = strings_.find(id);
  return it == strings_.end() ? std::string() : it->second;
}

std::string StringTable::item(unsigned id, int k, std::string_view def) const {
  return listItem(get(id), k, def);
}

std::string StringTable::format(unsigned id, std::string_view arg1,
                                std::string_view arg2) const {
  return formatMessage(get(id), arg1, arg2);
}

std::string formatMessage(std::string_view text, std::string_view arg1, std::string_view arg2) {
  // "%" followed by a digit or an upper-case letter is an argument reference: %1 and %2 take
  // the arguments, every other one (%3..%9, %A..%Z, and %0, which would name the argument
  // before the first) becomes "?", as the framework's formatting does for arguments it was
  // not given. Any other "%" is copied.
  std::string out;
  out.reserve(text.size() + arg1.size() + arg2.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char next = i + 1 < text.size() ? text[i + 1] : '\0';
    bool reference = text[i] == '%' && ((next >= '0' && next <= '9') || (next >= 'A' && next <= 'Z'));
    if (!reference) {
      out += text[i];
      continue;
    }
    if (next == '1') {
      out += arg1;
    } else if (next == '2') {
      out += arg2;
    } else {
      out += '?';
    }
    ++i;
  }
  return out;
}

}  // namespace vandrel::script
