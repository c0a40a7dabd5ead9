// Small text rules shared by every program and by the emulated machine: comparison without
// regard to case, case mapping, blank trimming and the numbered key names of a section.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vandrel::text {

// ASCII letters only: the single-byte characters above 127 keep their case, as the
// programs' profile and file-name comparisons do in the "C" locale.
char upper(char c);
char lower(char c);
std::string toUpper(std::string_view text);
std::string toLower(std::string_view text);

bool equalsNoCase(std::string_view a, std::string_view b);
// Three-way comparison without regard to case: negative, 0 or positive; a text that is the
// beginning of the other comes first.
int compareNoCase(std::string_view a, std::string_view b);
bool lessNoCase(std::string_view a, std::string_view b);

// Blanks as edit fields and key lists drop them, and all white space as a console line
// or a profile line drops it.
inline constexpr std::string_view kBlanks = " \t";
inline constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

// The part of the text without the given characters at its start and end, or at its start
// only (a view into text).
std::string_view trim(std::string_view text, std::string_view blanks = kBlanks);
std::string_view trimLeading(std::string_view text, std::string_view blanks = kBlanks);

// A numbered key name ("0", "17"): plain decimal digits, no sign, blank or leading zero, at
// most 18 digits. Nothing for any other name.
std::optional<long long> entryNumber(std::string_view name);

// The numbered names of a key list (names separated by "\0", as a profile read without a
// key returns them) between first and last inclusive, ascending, each once.
std::vector<long long> entryNumbers(std::string_view keyList, long long first, long long last);

// Item k (counted from 1) of a comma list. The empty text and a missing item give def; an
// item that is present but empty is the empty text. Items are not trimmed.
std::string listItem(std::string_view list, int k, std::string_view def);

}  // namespace vandrel::text
