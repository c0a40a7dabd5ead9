// Finding the version resource (VS_VERSIONINFO, resource type 16) in a PE file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/types.h"

namespace vandrel::platform {

// Reads exactly count bytes at offset into out; false when they are not all there.
using ReadAt = std::function<bool(std::uint64_t offset, void* out, std::size_t count)>;

// The version resource of a PE32 or PE32+ image of fileSize bytes, read through read.
// nullopt when the file is not a PE image, has no version resource, or any structure on
// the way is damaged (out of the file, out of its section, loops, absurd counts). An ELF
// file gives the block of its version section (elf_version.h), as the Linux builds of the
// programs carry it.
std::optional<Bytes> readVersionResource(const ReadAt& read, std::uint64_t fileSize);
std::optional<Bytes> readVersionResource(const Bytes& image);

}  // namespace vandrel::platform
