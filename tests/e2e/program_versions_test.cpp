// Every program of the build carries a version block that the emulated machine reads, as
// Windows reads a program's version resource: product "Vandrel", the project's version.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/formats/pe_version.h"
#include "platform/formats/version_block.h"
#include "platform/formats/version_resource.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel {
namespace {

struct ProgramVersion {
  const char* file;         // in build/bin
  const char* description;  // its FileDescription, in code page 1252 as Windows reads it
  const char* table;        // its string table, named after its language and code page
  platform::Translation translation;
};

// The French programs speak French in their version resource too: language 040C (French)
// with its code page, 1252; the others US English in Unicode.
const ProgramVersion kPrograms[] = {
    {"Setup.exe", "Vandrel package starter", "040904b0", {0x0409, 1200}},
    {"tamsin32", "Vandrel setup engine", "040904b0", {0x0409, 1200}},
    {"tamsin32-fr", "Moteur d'installation Vandrel", "040c04e4", {0x040C, 1252}},
    {"peskin32", "Vandrel uninstaller", "040904b0", {0x0409, 1200}},
    {"peskin32-fr", "Programme de d\xe9sinstallation Vandrel", "040c04e4", {0x040C, 1252}},
    {"corvix", "Vandrel package builder", "040904b0", {0x0409, 1200}},
    {"vandrel-lz", "Vandrel compressed file tool", "040904b0", {0x0409, 1200}},
    {"Scanlet.dll", "Vandrel script checker", "040904b0", {0x0409, 1200}},
};

// The project's version in the four parts of a version resource: "3.0" is "3.0.0.0".
std::string fourPartVersion() {
  platform::FourPartVersion v = platform::parseFourPartVersion(VANDREL_VERSION);
  return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.build) +
         "." + std::to_string(v.revision);
}

std::string value(const platform::Bytes& block, const ProgramVersion& program, const std::string& name) {
  return platform::queryString(block, std::string("\\StringFileInfo\\") + program.table + "\\" + name)
      .value_or("<none>");
}

TEST(ProgramVersions, EveryProgramCarriesTheProjectsVersion) {
  for (const ProgramVersion& program : kPrograms) {
    SCOPED_TRACE(program.file);
    std::string bytes = test::readFile(std::filesystem::path(VANDREL_BIN) / program.file);
    ASSERT_FALSE(bytes.empty());
    auto block = platform::readVersionResource(platform::Bytes(bytes.begin(), bytes.end()));
    ASSERT_TRUE(block);
    std::vector<platform::Translation> translations = platform::queryTranslations(*block);
    ASSERT_EQ(translations.size(), 1u);
    EXPECT_EQ(translations[0].language, program.translation.language);
    EXPECT_EQ(translations[0].codePage, program.translation.codePage);
    EXPECT_EQ(value(*block, program, "ProductName"), "Vandrel");
    EXPECT_EQ(value(*block, program, "FileDescription"), program.description);
    EXPECT_EQ(value(*block, program, "FileVersion"), fourPartVersion());
    EXPECT_EQ(value(*block, program, "ProductVersion"), fourPartVersion());
    auto fixed = platform::queryFixedFileInfo(*block);
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->fileType, std::string(program.file).ends_with(".dll") ? 2u : 1u);
  }
}

// The machine tool reads the uninstaller's version through the emulated machine, as the setup
// engine's version comparison does.
TEST(ProgramVersions, TheMachineReadsTheUninstallersVersion) {
  test::TempDir temp;
  std::string root = (temp.path() / "m").string();
  ASSERT_EQ(test::runProgram("vandrel-machine", {"init", root}).exitStatus, 0);
  std::filesystem::copy_file(std::filesystem::path(VANDREL_BIN) / "peskin32",
                             temp.path() / "m" / "drive_c" / "peskin32.exe");
  test::RunResult r = test::runProgram("vandrel-machine", {"version", root, "C:\\peskin32.exe"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_NE(r.out.find(fourPartVersion()), std::string::npos) << r.out;
}

}  // namespace
}  // namespace vandrel
