// Writing a VS_VERSIONINFO block as resource compilers write it (UTF-16 keys and strings).
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/types.h"

namespace vandrel::platform {

// A four-part version number a.b.c.d.
struct FourPartVersion {
  std::uint16_t major = 0, minor = 0, build = 0, revision = 0;
};

// "3.0" or "3.0.1.2" as four parts; missing parts are 0, parts past the fourth are ignored.
FourPartVersion parseFourPartVersion(const std::string& text);

// The block: VS_FIXEDFILEINFO with both versions (fileType 1 for a program, 2 for a
// library), a StringFileInfo table named after langId and codepage ("040904b0") holding the
// strings, and a VarFileInfo Translation with the pair.
Bytes writeVersionBlock(FourPartVersion fileVersion, FourPartVersion productVersion,
                        std::uint16_t langId, std::uint16_t codepage,
                        const std::map<std::string, std::string>& strings,
                        std::uint32_t fileType = 1);

}  // namespace vandrel::platform
