// Writes the binary seed inputs of the fuzz targets, made with the system's own writers so
// that they follow the formats as the programs produce them.
//
// Usage: fuzz_seeds <folder>; each target's seeds go to <folder>/<target>/.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "builder/codec/cvx_file.h"
#include "builder/codec/summary_stream.h"
#include "platform/emulated/registry/regedit_text.h"
#include "platform/emulated/registry/sqlite_registry.h"
#include "platform/formats/shell_link.h"
#include "platform/formats/szdd.h"
#include "paint/bitmap_resources.h"
#include "tests/support/bmp_file.h"
#include "tests/support/pe_builder.h"

namespace fs = std::filesystem;
using vandrel::platform::Bytes;

namespace {

// A document text with an entry of every kind and references between them.
const char* const kDocumentText =
    "\n;---> Corvix v3.0 Script file\n\n"
    "[Settings]\nAppName=Tool\nVer=1.0\nTitle=Tool setup\nLoadTxt=\nLoadBmp=\nDefDir=C:\\TOOL\n"
    "ShowLicence=1\nType=0\nRegInfo=1\nOwnMsg=\nminCpu=1\nminWin=3\nnCompil=0\nnSyst=1\n"
    "OwnUnInstall=0\nArchiveSize=-5\nLanguage=0\nLastGenPath=\n"
    "\n[Peskin]\nUnGroup=0\nUnDesc=UnInstall Tool\n"
    "\n[Background]\nGradient=1\nVert=1\nBitmap=0\nBmpName=\nBmpMode=0\nCaption=0\n"
    "Top=0x00000000\nBottom=0x00ff0000\n"
    "\n[Owner]\nAuthor=ann\nSubject=\nTemplate=\n"
    "\n[Directories]\n0=One,1,1,first\n1=Two,0,0,second\n"
    "\n[Descriptions]\n0=Copying\n\n[Groups]\n0=Tools\n\n[AddINI]\n0=Ext,txt,v\n"
    "\n[Registry]\n0=2,Software\\Co,,x,0\n"
    "\n[Files]\n0=A.EX_,a.exe,2,1,0,1,1234,1,0,0,3,Z:\\src,1\n1=b.txt,b.txt,1,1,0,0,0,-1,-1,0,0,,0\n"
    "\n[Shortcuts]\n0=App,[0]\\a.exe /x,0,0\n"
    "\n[Messages]\n0=d2.txt,2,Z:\\m\\d2.txt\n"
    "\n[End]\nReboot=0\n0=[0]\\a.exe\n1=notepad\n"
    "\n[Web]\nStartURL=http://x\n0=Home,http://x/h\n";

void writeSeed(const fs::path& folder, const std::string& name, const Bytes& bytes) {
  fs::create_directories(folder);
  std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + (folder / name).string());
}

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

void szddSeeds(const fs::path& folder) {
  namespace szdd = vandrel::platform::szdd;
  std::string words;
  for (int i = 0; i < 40; ++i) words += "Setup copies file " + std::to_string(i % 7) + ". ";
  Bytes ramp;
  for (int i = 0; i < 600; ++i) ramp.push_back(std::uint8_t(i * 7 % 251));
  writeSeed(folder, "words.sz_", szdd::compress(bytesOf(words), 't'));
  writeSeed(folder, "ramp.sz_", szdd::compress(ramp, 'l', {4, false}));
  writeSeed(folder, "empty.sz_", szdd::compress(Bytes{}, 0));
  // A run longer than the window wraps around it.
  writeSeed(folder, "run.sz_", szdd::compress(Bytes(5000, ' '), 'x'));
}

void versionSeeds(const fs::path& pe, const fs::path& blocks) {
  using namespace vandrel::test;
  std::map<std::string, std::string> strings = {
      {"FileVersion", "1.2.3.4"}, {"ProductVersion", "1.2"}, {"CompanyName", "Co"}};
  writeSeed(pe, "pe32.exe", buildPeWithVersion({1, 2, 3, 4}, {1, 2, 0, 0}, 0x409, 1200, strings,
                                               false));
  writeSeed(pe, "pe64.dll", buildPeWithVersion({5, 0, 0, 1}, {5, 0, 0, 0}, 0x40C, 1252, strings,
                                               true));
  writeSeed(pe, "nores.exe", buildPeWithResource({}, 0x409, false));
  writeSeed(blocks, "block.bin", buildVersionBlock({1, 2, 3, 4}, {1, 2, 0, 0}, 0x409, 1200,
                                                   strings));
  writeSeed(blocks, "nostrings.bin", buildVersionBlock({0, 0, 0, 1}, {0, 0, 0, 1}, 0, 0, {}));
}

void shellLinkSeeds(const fs::path& folder) {
  vandrel::platform::ShellLink full;
  full.target = "C:\\Program Files\\Tool\\tool.exe";
  full.arguments = "/quiet \"a b\"";
  full.workingDirectory = "C:\\Program Files\\Tool";
  full.description = "Runs the tool";
  full.iconLocation = "C:\\Program Files\\Tool\\icons.dll";
  full.iconIndex = 3;
  full.showCommand = 7;
  writeSeed(folder, "full.lnk",
            vandrel::platform::encodeShellLink(full, "C:\\Windows\\Start Menu\\Tool.lnk"));
  vandrel::platform::ShellLink bare;
  bare.target = "D:\\a.exe";
  writeSeed(folder, "bare.lnk", vandrel::platform::encodeShellLink(bare));
  vandrel::platform::ShellLink wide;
  wide.target = "C:\\Caf\xC3\xA9\\\xC3\xA9t\xC3\xA9.exe";
  wide.description = "\xC3\xA9t\xC3\xA9";
  writeSeed(folder, "wide.lnk", vandrel::platform::encodeShellLink(wide));
}

void regeditSeeds(const fs::path& folder, const fs::path& scratch) {
  using namespace vandrel::platform;
  auto registry = emulated::SqliteRegistry::open(scratch / "seed.db", false);
  HKey key = 0;
  registry->createKey(hkey::LocalMachine, "Software\\Vandrel\\Tool\\1.0", key);
  registry->setValue(key, "", 1, bytesOf(std::string("default\0", 8)));
  registry->setValue(key, "Path", 1, bytesOf(std::string("C:\\Tool \"x\"\0", 12)));
  registry->setValue(key, "Count", 4, Bytes{10, 0, 0, 0});
  registry->setValue(key, "Data", 3, Bytes(100, 0xAB));
  registry->setValue(key, "Expand", 2, bytesOf(std::string("%windir%\\x\0", 12)));
  registry->setValue(key, "Multi", 7, bytesOf(std::string("a\0b\0\0", 5)));
  registry->setValue(key, "Odd", 1, bytesOf("no terminator"));
  registry->setValue(key, "Big", 11, Bytes{1, 2, 3, 4, 5, 6, 7, 8});
  registry->closeKey(key);
  registry->createKey(hkey::CurrentUser, "Software\\Vandrel", key);
  registry->closeKey(key);
  writeSeed(folder, "export.reg", bytesOf(emulated::exportRegedit4(*registry, "")));
}

void documentSeeds(const fs::path& cvx, const fs::path& summary) {
  vandrel::builder::SummaryInfo info;
  info.title = "Tool setup";
  info.author = "ann";
  info.lastAuthor = "bob";
  info.revision = "7";
  info.editingTime = 600000000;
  info.created = 132000000000000000ull;
  info.lastSaved = 132000000100000000ull;
  info.appName = "Corvix";
  info.wordCount = 12;
  writeSeed(summary, "summary.bin", bytesOf(vandrel::builder::encodeSummaryInfo(info)));

  fs::create_directories(cvx);
  std::string error = vandrel::builder::writeCvx(cvx / "tool.cvx", kDocumentText, info);
  if (!error.empty()) throw std::runtime_error(error);
  writeSeed(cvx, "plain.cvx", bytesOf(kDocumentText));
}

}  // namespace

// The programs' own pictures (4 and 8 bits) and small 1- and 24-bit images.
void bitmapSeeds(const fs::path& folder) {
  namespace paint = vandrel::paint;
  for (int id : {paint::bitmap_id::SidePicture, paint::bitmap_id::Picture}) {
    std::span<const std::uint8_t> bytes = paint::bitmapResource(id);
    writeSeed(folder, "picture" + std::to_string(id) + ".bmp", Bytes(bytes.begin(), bytes.end()));
  }
  vandrel::test::BmpSpec spec;
  spec.width = 9;
  spec.height = 5;
  spec.pixel = [](int x, int y) { return std::uint32_t(x * 0x1F + y * 0x3300); };
  writeSeed(folder, "rgb.bmp", bytesOf(vandrel::test::makeBmp(spec)));
  spec.bitCount = 1;
  spec.topDown = true;
  spec.palette = {0x000000, 0xFFFFFF};
  spec.pixel = [](int x, int y) { return std::uint32_t((x + y) & 1); };
  writeSeed(folder, "mono.bmp", bytesOf(vandrel::test::makeBmp(spec)));
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds <folder>\n");
    return 2;
  }
  fs::path root = argv[1];
  try {
    fs::path scratch = root / "scratch";
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    fs::create_directories(scratch);
    szddSeeds(root / "szdd");
    versionSeeds(root / "pe_version", root / "version_block");
    shellLinkSeeds(root / "shell_link");
    regeditSeeds(root / "regedit", scratch);
    documentSeeds(root / "cvx", root / "summary_info");
    writeSeed(root / "document_text", "tool.txt", bytesOf(kDocumentText));
    bitmapSeeds(root / "dib");
    // The text formats have only the committed seeds; their folders exist all the same.
    fs::create_directories(root / "ini");
    fs::create_directories(root / "answers");
    fs::create_directories(root / "script_values");
    fs::remove_all(scratch, ignored);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fuzz_seeds: %s\n", e.what());
    return 1;
  }
  return 0;
}
