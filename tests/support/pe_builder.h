// Small PE images with a version resource, built byte by byte for tests of version reading.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/types.h"

namespace vandrel::test {

// A four-part version number a.b.c.d.
struct FourPartVersion {
  std::uint16_t major = 0, minor = 0, build = 0, revision = 0;
};

// A VS_VERSIONINFO block as resource compilers write it (UTF-16 keys and strings):
// VS_FIXEDFILEINFO with both versions, a StringFileInfo table named after langId and
// codepage ("040904b0") holding the strings, and a VarFileInfo Translation with the pair.
platform::Bytes buildVersionBlock(FourPartVersion fileVersion, FourPartVersion productVersion,
                                  std::uint16_t langId, std::uint16_t codepage,
                                  const std::map<std::string, std::string>& strings);

// A minimal valid PE32 (pe64 false, i386) or PE32+ (x86-64) image whose .rsrc section holds
// one RT_VERSION resource (id 1, language langId) made by buildVersionBlock.
platform::Bytes buildPeWithVersion(FourPartVersion fileVersion, FourPartVersion productVersion,
                                   std::uint16_t langId, std::uint16_t codepage,
                                   const std::map<std::string, std::string>& strings, bool pe64);

// The same image around any block (for damaged blocks); an empty block gives an image with
// no resource section at all.
platform::Bytes buildPeWithResource(const platform::Bytes& block, std::uint16_t langId, bool pe64);

}  // namespace vandrel::test
