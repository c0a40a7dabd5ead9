// Byte-by-byte construction of PE images around VS_VERSIONINFO blocks for tests.
#include "tests/support/pe_builder.h"

#include <cstdio>
#include <vector>

#include "platform/formats/byte_io.h"

namespace vandrel::test {
namespace {

using platform::Bytes;


// .rsrc contents at virtual address rva: type 16 -> id 1 -> language -> data entry -> block.
Bytes resourceSection(const Bytes& block, std::uint16_t langId, std::uint32_t rva) {
  platform::formats::ByteWriter w;
  auto directory = [&w](std::uint32_t id, std::uint32_t target) {
    w.zeros(12);
    w.u16(0);  // named entries
    w.u16(1);  // id entries
    w.u32(id);
    w.u32(target);
  };
  directory(16, 0x80000000u | 24);
  directory(1, 0x80000000u | 48);
  directory(langId, 72);
  w.u32(rva + 88);  // data entry: the block follows it
  w.u32(std::uint32_t(block.size()));
  w.u32(0);
  w.u32(0);
  w.append(block.data(), block.size());
  return w.bytes();
}

void optionalHeader(platform::formats::ByteWriter& w, bool pe64, std::uint32_t imageSize, std::uint32_t rsrcRva,
                    std::uint32_t rsrcSize) {
  w.u16(pe64 ? 0x20B : 0x10B);
  w.u8(6), w.u8(0);              // linker version
  w.u32(0), w.u32(rsrcSize), w.u32(0);  // code, initialized and uninitialized data sizes
  w.u32(0);                      // entry point: none (a resource-only image)
  w.u32(0x1000);                 // base of code
  if (!pe64) w.u32(0x1000);      // base of data
  if (pe64) w.u64(0x140000000ull); else w.u32(0x400000);
  w.u32(0x1000), w.u32(0x200);   // section and file alignment
  w.u16(4), w.u16(0), w.u16(0), w.u16(0), w.u16(4), w.u16(0);  // OS, image, subsystem versions
  w.u32(0);                      // Win32VersionValue
  w.u32(imageSize), w.u32(0x200), w.u32(0);  // image size, header size, checksum
  w.u16(2), w.u16(0);            // GUI subsystem, DLL characteristics
  for (int i = 0; i < 4; ++i) {  // stack and heap reserve and commit
    if (pe64) w.u64(0x100000); else w.u32(0x100000);
  }
  w.u32(0), w.u32(16);           // loader flags, number of data directories
  for (std::uint32_t i = 0; i < 16; ++i) {
    w.u32(i == 2 ? rsrcRva : 0);
    w.u32(i == 2 ? rsrcSize : 0);
  }
}

}  // namespace

Bytes buildVersionBlock(FourPartVersion fileVersion, FourPartVersion productVersion,
                        std::uint16_t langId, std::uint16_t codepage,
                        const std::map<std::string, std::string>& strings) {
  return platform::writeVersionBlock(fileVersion, productVersion, langId, codepage, strings);
}

Bytes buildPeWithResource(const Bytes& block, std::uint16_t langId, bool pe64) {
  const std::uint32_t rsrcRva = 0x1000;
  Bytes rsrc = block.empty() ? Bytes(16, 0) : resourceSection(block, langId, rsrcRva);
  std::uint32_t rawSize = std::uint32_t((rsrc.size() + 0x1FF) & ~std::size_t(0x1FF));
  std::uint32_t imageSize = rsrcRva + ((rawSize + 0xFFF) & ~0xFFFu);
  platform::formats::ByteWriter w;
  w.u16(0x5A4D);  // "MZ"
  w.zeros(0x3A);
  w.u32(0x40);    // e_lfanew
  w.u32(0x00004550);  // "PE\0\0"
  w.u16(pe64 ? 0x8664 : 0x14C);
  w.u16(1);       // one section
  w.u32(0), w.u32(0), w.u32(0);  // time stamp, symbol table, symbol count
  w.u16(pe64 ? 240 : 224);
  w.u16(pe64 ? 0x0022 : 0x0102);  // executable; large-address aware or 32-bit machine
  optionalHeader(w, pe64, imageSize, block.empty() ? 0 : rsrcRva,
                 block.empty() ? 0 : std::uint32_t(rsrc.size()));
  const char sectionName[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
  for (char c : sectionName) w.u8(std::uint8_t(c));
  w.u32(std::uint32_t(rsrc.size()));
  w.u32(rsrcRva);
  w.u32(rawSize);
  w.u32(0x200);   // raw data right after the headers
  w.zeros(12);    // relocations, line numbers and their counts
  w.u32(0x40000040);  // initialized data, readable
  w.alignTo(0x200);
  w.append(rsrc.data(), rsrc.size());
  w.alignTo(0x200);
  return w.bytes();
}

Bytes buildPeWithVersion(FourPartVersion fileVersion, FourPartVersion productVersion,
                         std::uint16_t langId, std::uint16_t codepage,
                         const std::map<std::string, std::string>& strings, bool pe64) {
  return buildPeWithResource(buildVersionBlock(fileVersion, productVersion, langId, codepage, strings),
                             langId, pe64);
}

}  // namespace vandrel::test
