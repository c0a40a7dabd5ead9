// The Windows code page 1252 (Western) of the programs' texts, to and from UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace vandrel::platform {

// Text in code page 1252 as UTF-8: bytes 0x80 to 0x9F are the typographic characters
// that page gives them (0x80 the euro sign, 0x92 the right single quotation mark); the five
// bytes it leaves undefined stand for the control characters of the same number, as
// Windows converts them.
std::string cp1252ToUtf8(std::string_view text);

// The Unicode character of one code page byte.
char32_t cp1252Char(unsigned char byte);

// UTF-8 back to code page 1252: a character the code page lacks becomes '?', and bytes
// that are not UTF-8 (text already in the code page) are kept as they are.
std::string utf8ToCp1252(std::string_view text);

// The whole text is well-formed UTF-8 (plain ASCII is).
bool isUtf8(std::string_view text);

}  // namespace vandrel::platform
