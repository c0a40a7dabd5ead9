// Tests of the version resource: finding it in PE images and querying its values.
#include "platform/formats/version_resource.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/formats/pe_version.h"
#include "tests/support/pe_builder.h"

namespace vandrel::platform {
namespace {

using test::FourPartVersion;

const std::map<std::string, std::string> kStrings = {
    {"CompanyName", "Société Exemple"}, {"FileDescription", "Test program"},
    {"FileVersion", "2.10.3"},          {"ProductVersion", "2.1"},
    {"Comments", "it\u2019s \u4e2d"},
};

Bytes sampleBlock() {
  return test::buildVersionBlock({2, 10, 3, 4}, {2, 1, 0, 0}, 0x040C, 0x04E4, kStrings);
}

TEST(VersionQuery, FixedFileInfoGivesTheVersionNumbers) {
  auto info = queryFixedFileInfo(sampleBlock());
  ASSERT_TRUE(info);
  EXPECT_EQ(info->signature, FixedFileInfo::Signature);
  EXPECT_EQ(info->fileVersionMS, 0x0002000Au);
  EXPECT_EQ(info->fileVersionLS, 0x00030004u);
  EXPECT_EQ(info->fileVersion(), (std::array<std::uint16_t, 4>{2, 10, 3, 4}));
  EXPECT_EQ(info->productVersion(), (std::array<std::uint16_t, 4>{2, 1, 0, 0}));
  EXPECT_EQ(info->fileDate(), 0u);
  auto raw = verQueryValue(sampleBlock(), "\\");
  ASSERT_TRUE(raw);
  EXPECT_FALSE(raw->isText);
  EXPECT_EQ(raw->data.size(), FixedFileInfo::Size);
}

TEST(VersionQuery, TranslationAndBlockName) {
  auto translations = queryTranslations(sampleBlock());
  ASSERT_EQ(translations.size(), 1u);
  EXPECT_EQ(translations[0].language, 0x040C);
  EXPECT_EQ(translations[0].codePage, 0x04E4);
  EXPECT_EQ(translations[0].blockName(), "040c04e4");
  auto raw = verQueryValue(sampleBlock(), "\\VarFileInfo\\Translation");
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->data, (Bytes{0x0C, 0x04, 0xE4, 0x04}));
}

TEST(VersionQuery, StringsByPath) {
  const Bytes block = sampleBlock();
  struct Case {
    const char* path;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"\\StringFileInfo\\040c04e4\\FileVersion", "2.10.3"},
      {"\\StringFileInfo\\040c04e4\\ProductVersion", "2.1"},
      {"\\StringFileInfo\\040C04E4\\fileversion", "2.10.3"},  // any case
      // UTF-16 to code page 1252; a character the code page lacks becomes "?".
      {"\\StringFileInfo\\040c04e4\\CompanyName", "Soci\xe9t\xe9 Exemple"},
      {"\\StringFileInfo\\040c04e4\\Comments", "it\x92s ?"},
      {"\\StringFileInfo\\040904b0\\FileVersion", std::nullopt},  // other table
      {"\\StringFileInfo\\040c04e4\\LegalCopyright", std::nullopt},
      {"\\StringFileInfo\\040c04e4\\FileVersion\\More", std::nullopt},
      {"\\VarFileInfo\\Translation", std::nullopt},  // binary, not text
  };
  for (const Case& c : cases) {
    EXPECT_EQ(queryString(block, c.path), c.expected) << c.path;
  }
}

TEST(VersionQuery, SixteenBitBlockForm) {
  // The 8-bit form: wLength, wValueLength, key, value; no wType.
  auto node = [](const std::string& key, const Bytes& value, const std::vector<Bytes>& children) {
    Bytes out(4, 0);
    for (char c : key) out.push_back(std::uint8_t(c));
    out.push_back(0);
    while (out.size() % 4) out.push_back(0);
    out.insert(out.end(), value.begin(), value.end());
    for (const Bytes& child : children) {
      while (out.size() % 4) out.push_back(0);
      out.insert(out.end(), child.begin(), child.end());
    }
    out[0] = std::uint8_t(out.size());
    out[1] = std::uint8_t(out.size() >> 8);
    out[2] = std::uint8_t(value.size());
    return out;
  };
  Bytes version = node("FileVersion", {'3', '.', '1', 0}, {});
  Bytes table = node("040904E4", {}, {version});
  Bytes root = node("VS_VERSION_INFO", {}, {node("StringFileInfo", {}, {table})});
  EXPECT_EQ(queryString(root, "\\StringFileInfo\\040904e4\\FileVersion"), "3.1");
}

TEST(VersionQuery, DamagedBlocksGiveNothing) {
  const Bytes good = sampleBlock();
  const std::string path = "\\StringFileInfo\\040c04e4\\FileVersion";
  for (std::size_t cut = 0; cut < good.size(); ++cut) {
    Bytes part(good.begin(), good.begin() + cut);
    // The root's length now points past the end: nothing is found.
    EXPECT_FALSE(verQueryValue(part, path)) << cut;
  }
  std::mt19937 random(3);
  for (int round = 0; round < 500; ++round) {
    Bytes bad = good;
    for (int k = 0; k < 4; ++k) bad[random() % bad.size()] = std::uint8_t(random());
    auto value = verQueryValue(bad, path);  // must not crash or hang; any answer is allowed
    if (value) {
      EXPECT_LE(value->data.size(), bad.size());
    }
  }
  Bytes zeroLength = good;
  zeroLength[0] = zeroLength[1] = 0;
  EXPECT_FALSE(verQueryValue(zeroLength, "\\"));
}

class PeVersion : public ::testing::TestWithParam<bool> {};

TEST_P(PeVersion, ResourceIsFoundInTheImage) {
  const bool pe64 = GetParam();
  Bytes image = test::buildPeWithVersion({1, 2, 3, 4}, {1, 2, 0, 0}, 0x0409, 0x04B0,
                                         {{"FileVersion", "1.2.3.4"}, {"ProductVersion", "1.2"}}, pe64);
  const std::size_t magic = 0x40 + 24;
  EXPECT_EQ(image[magic] | image[magic + 1] << 8, pe64 ? 0x20B : 0x10B);
  auto block = readVersionResource(image);
  ASSERT_TRUE(block);
  EXPECT_EQ(queryString(*block, "\\StringFileInfo\\040904b0\\FileVersion"), "1.2.3.4");
  EXPECT_EQ(queryString(*block, "\\StringFileInfo\\040904b0\\ProductVersion"), "1.2");
  auto info = queryFixedFileInfo(*block);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->fileVersion(), (std::array<std::uint16_t, 4>{1, 2, 3, 4}));
}

TEST_P(PeVersion, ImagesWithoutVersionOrDamagedGiveNothing) {
  const bool pe64 = GetParam();
  EXPECT_FALSE(readVersionResource(test::buildPeWithResource({}, 0x0409, pe64)));
  EXPECT_FALSE(readVersionResource(Bytes{'M', 'Z'}));
  EXPECT_FALSE(readVersionResource(Bytes{}));

  const Bytes good = test::buildPeWithVersion({1, 0, 0, 0}, {1, 0, 0, 0}, 0x0409, 0x04B0,
                                              {{"FileVersion", "1.0"}}, pe64);
  const std::size_t pe = 0x40, optional = pe + 24;
  struct Damage {
    const char* what;
    std::size_t offset;
    std::uint8_t value;
  };
  const Damage damages[] = {
      {"e_lfanew past the end", 0x3D, 0x7F},
      {"PE signature", pe, 'X'},
      {"optional header magic", optional, 0x99},
      {"section count absurd", pe + 7, 0x40},
      {"optional header size too small", pe + 20, 0x10},
      {"data directory count", optional + (pe64 ? 108 : 92), 0},
      {"section data offset beyond file", optional + (pe64 ? 240 : 224) + 20 + 1, 0x70},
      {"resource type entry points to data", 0x200 + 16 + 7, 0x00},
      {"resource subdirectory offset far out", 0x200 + 16 + 6, 0x7F},
      {"data entry RVA outside sections", 0x200 + 72 + 3, 0x40},
      {"data entry size beyond section", 0x200 + 76 + 1, 0x10},
  };
  for (const Damage& d : damages) {
    Bytes bad = good;
    bad[d.offset] = d.value;
    EXPECT_FALSE(readVersionResource(bad)) << d.what;
  }
  // Cuts anywhere before the end of the version data.
  const std::size_t dataEnd = 0x200 + 88 + readVersionResource(good)->size();
  for (std::size_t cut = 0; cut < dataEnd; cut += 7) {
    Bytes part(good.begin(), good.begin() + cut);
    EXPECT_FALSE(readVersionResource(part)) << cut;
  }
}

TEST_P(PeVersion, RandomDamageNeverCrashes) {
  const Bytes good = test::buildPeWithVersion({1, 0, 0, 0}, {1, 0, 0, 0}, 0x0409, 0x04B0,
                                              {{"FileVersion", "1.0"}}, GetParam());
  std::mt19937 random(11);
  for (int round = 0; round < 2000; ++round) {
    Bytes bad = good;
    for (int k = 0; k < 3; ++k) bad[random() % 0x300] = std::uint8_t(random());
    auto block = readVersionResource(bad);
    if (block) {
      EXPECT_LE(block->size(), bad.size());
      queryString(*block, "\\StringFileInfo\\040904b0\\FileVersion");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe64, PeVersion, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Pe64" : "Pe32"; });

}  // namespace
}  // namespace vandrel::platform
