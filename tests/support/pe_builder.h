// Small PE images with a version resource, built byte by byte for tests of version reading.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/formats/version_block.h"
#include "platform/types.h"

namespace vandrel::test {

using platform::FourPartVersion;

// A program's VS_VERSIONINFO block (platform::writeVersionBlock).
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
