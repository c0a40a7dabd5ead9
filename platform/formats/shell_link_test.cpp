// Tests of the .lnk writer and reader: exact header, round trips and damaged files.
#include "platform/formats/shell_link.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/formats/byte_io.h"

namespace vandrel::platform {
namespace {

ShellLink sampleLink() {
  ShellLink link;
  link.target = "C:\\Program Files\\Acme\\acme.exe";
  link.arguments = "/quiet \"C:\\My Files\\a.txt\"";
  link.workingDirectory = "C:\\Program Files\\Acme";
  link.description = "Acme Editor";
  link.iconLocation = "C:\\Program Files\\Acme\\acme.ico";
  link.iconIndex = 2;
  link.showCommand = 3;
  return link;
}

TEST(ShellLinkWriter, HeaderIsExact) {
  Bytes bytes = encodeShellLink(sampleLink());
  formats::ByteView view(bytes);
  ASSERT_GE(bytes.size(), 76u);
  EXPECT_EQ(view.u32(0), 0x4Cu);
  const Bytes clsid = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                       0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
  EXPECT_EQ(Bytes(bytes.begin() + 4, bytes.begin() + 20), clsid);
  // Link info, name, working folder, arguments and icon; 8-bit strings; no ID list.
  EXPECT_EQ(view.u32(20), 0x02u | 0x04u | 0x10u | 0x20u | 0x40u);
  EXPECT_EQ(view.u32(56), 2u);  // icon index
  EXPECT_EQ(view.u32(60), 3u);  // show maximized
  // Link info: header size 0x1C, local base path present, and the path itself.
  EXPECT_EQ(view.u32(76 + 4), 0x1Cu);
  EXPECT_EQ(view.u32(76 + 8), 1u);
  auto base = view.u32(76 + 16);
  ASSERT_TRUE(base);
  EXPECT_EQ(view.cString(76 + *base, bytes.size()), "C:\\Program Files\\Acme\\acme.exe");
  EXPECT_EQ(view.u32(76 + 0x1C + 4), 3u);  // a fixed drive
  // The file ends with the terminal block.
  EXPECT_EQ(view.u32(bytes.size() - 4), 0u);
}

TEST(ShellLinkWriter, RoundTripsThroughTheReader) {
  ShellLink plain;
  plain.target = "C:\\A.EXE";
  ShellLink wide = sampleLink();
  wide.description = "Éditeur Acme";
  wide.target = "C:\\Programmes\\Société\\édit.exe";
  ShellLink oddShow = sampleLink();
  oddShow.showCommand = 42;
  for (const ShellLink& link : {sampleLink(), plain, wide, oddShow}) {
    auto back = decodeShellLink(encodeShellLink(link));
    ASSERT_TRUE(back) << link.target;
    EXPECT_EQ(back->target, link.target);
    EXPECT_EQ(back->arguments, link.arguments);
    EXPECT_EQ(back->workingDirectory, link.workingDirectory);
    EXPECT_EQ(back->description, link.description);
    EXPECT_EQ(back->iconLocation, link.iconLocation);
    EXPECT_EQ(back->iconIndex, link.iconIndex);
    EXPECT_EQ(back->showCommand, link.showCommand == 42 ? 1 : link.showCommand);
  }
}

TEST(ShellLinkReader, UnknownShowCommandsReadAsNormal) {
  Bytes bytes = encodeShellLink(sampleLink());
  bytes[60] = 0x01;  // show command 0xAC01: no window state of a link
  bytes[61] = 0xAC;
  auto back = decodeShellLink(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->showCommand, 1);
}

TEST(ShellLinkReader, AStringCountedWithItsTerminatorReadsWithoutIt) {
  // Wine's shell counts each string's terminating zero among its characters.
  ShellLink counted = sampleLink();
  for (std::string* text : {&counted.arguments, &counted.workingDirectory, &counted.description,
                            &counted.iconLocation})
    *text += '\0';
  for (bool unicode : {false, true}) {
    SCOPED_TRACE(unicode ? "UTF-16 strings" : "8-bit strings");
    ShellLink written = counted;
    if (unicode) written.description = "Acme \xc3\xa9diteur" + std::string(1, '\0');
    auto link = decodeShellLink(encodeShellLink(written));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->arguments, sampleLink().arguments);
    EXPECT_EQ(link->workingDirectory, sampleLink().workingDirectory);
    EXPECT_EQ(link->description, unicode ? "Acme \xc3\xa9diteur" : sampleLink().description);
    EXPECT_EQ(link->iconLocation, sampleLink().iconLocation);
  }
}

TEST(ShellLinkWriter, RelativePathFromTheLinkFolder) {
  struct Case {
    const char* link;
    const char* target;
    const char* relative;
  };
  const Case cases[] = {
      {"C:\\WINDOWS\\Start Menu\\Programs\\Acme\\Acme.lnk", "C:\\Acme\\acme.exe",
       "..\\..\\..\\..\\Acme\\acme.exe"},
      {"C:\\Acme\\Acme.lnk", "C:\\Acme\\acme.exe", ".\\acme.exe"},
      {"c:\\acme\\Acme.lnk", "C:\\ACME\\Bin\\acme.exe", ".\\Bin\\acme.exe"},
      {"D:\\Links\\Acme.lnk", "C:\\Acme\\acme.exe", ""},
      {"Acme.lnk", "C:\\Acme\\acme.exe", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(relativeLinkPath(c.link, c.target), c.relative) << c.link;
  }
  ShellLink link = sampleLink();
  Bytes withRelative = encodeShellLink(link, "C:\\Program Files\\Acme\\Acme.lnk");
  formats::ByteView view(withRelative);
  EXPECT_TRUE(*view.u32(20) & 0x08u);
  auto back = decodeShellLink(withRelative);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->target, link.target);
  EXPECT_EQ(back->description, link.description);
}

TEST(ShellLinkReader, SkipsAnItemIdListAsWindowsWritesIt) {
  Bytes plain = encodeShellLink(sampleLink());
  // Insert an ID list (size, one item, terminator) after the header and set its flag.
  const Bytes idList = {8, 0, 6, 0, 0x1F, 0x50, 0xAA, 0xBB, 0, 0};
  Bytes withList;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    if (i == 76) {
      for (std::uint8_t b : idList) withList.push_back(b);
    }
    withList.push_back(plain[i]);
  }
  withList[20] |= 0x01;
  auto link = decodeShellLink(withList);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->target, sampleLink().target);
  EXPECT_EQ(link->arguments, sampleLink().arguments);
  withList[76] = 0xF0;  // the list now claims to run past the end
  EXPECT_FALSE(decodeShellLink(withList));
}

TEST(ShellLinkReader, DamagedFilesGiveNothing) {
  const Bytes good = encodeShellLink(sampleLink());
  // Every cut before the last string ends loses part of the link.
  for (std::size_t cut = 0; cut + 4 < good.size(); ++cut) {
    EXPECT_FALSE(decodeShellLink(Bytes(good.begin(), good.begin() + std::ptrdiff_t(cut)))) << cut;
  }
  Bytes badClsid = good;
  badClsid[5] ^= 0xFF;
  EXPECT_FALSE(decodeShellLink(badClsid));
  std::mt19937 random(4);
  for (int round = 0; round < 2000; ++round) {
    Bytes bad = good;
    for (int k = 0; k < 3; ++k) bad[20 + random() % (bad.size() - 20)] = std::uint8_t(random());
    auto link = decodeShellLink(bad);  // no crash; any sound answer
    if (link) {
      EXPECT_LE(link->target.size(), bad.size());
    }
  }
}

}  // namespace
}  // namespace vandrel::platform
