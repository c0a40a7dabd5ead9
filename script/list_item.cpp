// The leading-digits number and flag readings used on comma-list items.
#include "script/list_item.h"

#include <climits>

namespace vandrel::script {

long readInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                             text[i] == '\r' || text[i] == '\v' || text[i] == '\f')) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate as a negative number so that LONG_MIN itself is reachable; clamp on overflow.
  long value = 0;
  bool overflow = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    int digit = text[i] - '0';
    if (value < (LONG_MIN + digit) / 10) {
      overflow = true;
      continue;
    }
    value = value * 10 - digit;
  }
  if (negative) return overflow ? LONG_MIN : value;
  if (overflow || value == LONG_MIN) return LONG_MAX;
  return -value;
}

Flag readFlag(std::string_view field) {
  if (field.empty()) return Flag::Other;
  if (field[0] == '1') return Flag::Set;
  if (field[0] == '0') return Flag::Clear;
  return Flag::Other;
}

}  // namespace vandrel::script
