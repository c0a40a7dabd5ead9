// Comma lists and the numbers and flags read from them.
#pragma once

#include <string>
#include <string_view>

#include "platform/text/text_rules.h"

namespace vandrel::script {

// Item k (counted from 1) of a comma list (the shared text rule).
using text::listItem;

// The builder's name for the same rule (n, list, default).
inline std::string GetListItem(int n, std::string_view list, std::string_view def) {
  return listItem(list, n, def);
}

// The leading-digits integer reading: leading blanks, an optional sign, then digits up to
// the first non-digit; no digits gives 0. Values beyond the range of long are clamped.
long readInt(std::string_view text);

// A copy flag of [Files]: only a first character of "1" sets it, only "0" clears it.
enum class Flag { Clear, Set, Other };
Flag readFlag(std::string_view field);

}  // namespace vandrel::script
