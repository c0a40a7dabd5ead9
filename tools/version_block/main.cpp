// vandrel-version-block: writes a C++ source that puts a program's version block into the
// program's ELF version section, so that the Linux builds carry a version as the Windows
// builds carry their version resource. Used by the build only.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "platform/formats/elf_version.h"
#include "platform/formats/version_block.h"

namespace {

// The translation a program carries unless told otherwise: US English, Unicode.
constexpr std::uint16_t EnglishUs = 0x0409;
constexpr std::uint16_t Unicode = 1200;

// A number of the command line in the given base; fallback when it is not one whole.
std::uint16_t numberOr(const char* text, int base, std::uint16_t fallback) {
  char* end = nullptr;
  unsigned long value = std::strtoul(text, &end, base);
  return *text != '\0' && *end == '\0' && value <= 0xFFFF ? std::uint16_t(value) : fallback;
}

std::string arrayText(const vandrel::platform::Bytes& block) {
  std::string text;
  char byte[16];
  for (std::size_t i = 0; i < block.size(); ++i) {
    std::snprintf(byte, sizeof byte, "%s0x%02x,", i % 16 == 0 ? "\n  " : " ", block[i]);
    text += byte;
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6 && argc != 8) {
    std::fprintf(stderr,
                 "usage: vandrel-version-block OUTPUT.cpp VERSION FILE-NAME DESCRIPTION app|dll"
                 " [LANGUAGE-HEX CODE-PAGE]\n");
    return 2;
  }
  // The language (hexadecimal, "040c") and code page (decimal, "1252") of the program's
  // texts: its string table is named after them and its translation names them.
  const std::uint16_t language = argc == 8 ? numberOr(argv[6], 16, 0) : EnglishUs;
  const std::uint16_t codePage = argc == 8 ? numberOr(argv[7], 10, 0) : Unicode;
  if (language == 0 || codePage == 0) {
    std::fprintf(stderr, "vandrel-version-block: not a language and code page: %s %s\n", argv[6], argv[7]);
    return 2;
  }
  const std::string output = argv[1], version = argv[2], fileName = argv[3];
  const std::string description = argv[4], type = argv[5];
  auto four = vandrel::platform::parseFourPartVersion(version);
  std::string dotted = std::to_string(four.major) + "." + std::to_string(four.minor) + "." +
                       std::to_string(four.build) + "." + std::to_string(four.revision);
  std::map<std::string, std::string> strings{
      {"FileDescription", description}, {"FileVersion", dotted},
      {"InternalName", fileName},       {"OriginalFilename", fileName},
      {"ProductName", "Vandrel"},       {"ProductVersion", dotted}};
  auto block = vandrel::platform::writeVersionBlock(four, four, language, codePage, strings,
                                                    type == "dll" ? 2 : 1);
  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  out << "// The version block of " << fileName << ", written by vandrel-version-block.\n"
      << "extern \"C\" __attribute__((section(\"" << vandrel::platform::ElfVersionSection
      << "\"), used, aligned(4)))\nconst unsigned char vandrel_version_block[] = {"
      << arrayText(block) << "\n};\n";
  return out.good() ? 0 : 1;
}
