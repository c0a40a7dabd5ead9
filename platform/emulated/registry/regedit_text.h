// The registry as REGEDIT4 text: export of a key tree and import of such text.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/registry.h"

namespace vandrel::platform::emulated {

// An export that cannot be made: unknown root or missing key.
class RegeditError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The REGEDIT4 text of keyPath ("HKEY_LOCAL_MACHINE\Software\X"; short root names such as
// HKLM are accepted; empty: the four roots) and everything below it, as regedit writes it:
// "REGEDIT4", a blank line, then for each key "[HKEY_...\key]", its values and a blank line.
// Values: "name"="text" (\ and " escaped), @= for the default value, dword:0000000a,
// hex:01,02 for binary data, hex(2): and hex(7): for expandable and multiple strings,
// hex(N): for any other type. A string or DWORD whose data does not have the usual shape (no
// terminating zero, a line break or zero inside, not four bytes) is written as hex(1): or
// hex(4): so that importing the text gives back the same bytes. Long hex data is wrapped at
// 80 columns with a trailing "\" as regedit does. Subkeys and values are sorted without
// regard to case; keys keep their stored spelling. Lines end in LF.
// Throws RegeditError when keyPath names no key.
std::string exportRegedit4(Registry& registry, const std::string& keyPath);

// Applies REGEDIT4 text (also accepted: the "Windows Registry Editor Version 5.00" header,
// whose hex(1), hex(2) and hex(7) data is UTF-16; UTF-16 or UTF-8 text with a byte-order
// mark; CR LF line ends). "[KEY]" creates a key, "[-KEY]" deletes it with all its subkeys,
// "name"=- deletes a value, lines starting with ";" are comments, hex data continues on the
// next line after a trailing "\". The whole text is checked before anything is written: bad
// text changes nothing and gives false with error = "line N: what is wrong". A registry call
// that fails while applying gives false with the line of the entry.
bool importRegedit4(Registry& registry, const std::string& text, std::string& error);

}  // namespace vandrel::platform::emulated
