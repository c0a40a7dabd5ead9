// Comma lists and the numbers and flags read from them.
#pragma once

#include <string>
#include <string_view>

namespace vandrel::script {

// Item k (counted from 1) of a comma list. The empty text and a missing item give def; an
// item that is present but empty is the empty text. Items are not trimmed.
std::string listItem(std::string_view list, int k, std::string_view def);

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
