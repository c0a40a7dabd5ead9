// Finding the version block that the Linux builds of the programs carry in an ELF section.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/formats/pe_version.h"
#include "platform/types.h"

namespace vandrel::platform {

// The section that holds a host program's VS_VERSIONINFO block: the emulated machine reads
// a Linux program's version from it as Windows reads a PE image's version resource.
inline constexpr const char* ElfVersionSection = ".vandrel_version";

// The block of that section in a little-endian ELF32 or ELF64 file of fileSize bytes;
// nullopt when the file is not ELF, has no such section, or a structure on the way lies
// outside the file.
std::optional<Bytes> readElfVersionSection(const ReadAt& read, std::uint64_t fileSize);

}  // namespace vandrel::platform
