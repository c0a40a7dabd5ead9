// Tests of the REGEDIT4 text: exact export, import features, round trips, bad text.
#include "platform/emulated/registry/regedit_text.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/emulated/registry/sqlite_registry.h"
#include "tests/support/temp_dir.h"

namespace vandrel::platform::emulated {
namespace {

using test::TempDir;

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A registry whose value writes fail, as on a full disk; everything else is passed on.
class FullDiskRegistry : public Registry {
 public:
  explicit FullDiskRegistry(Registry& inner) : inner_(inner) {}
  long createKey(HKey parent, const std::string& subKey, HKey& result, bool* created) override {
    return inner_.createKey(parent, subKey, result, created);
  }
  long openKey(HKey parent, const std::string& subKey, HKey& result) override {
    return inner_.openKey(parent, subKey, result);
  }
  long queryValue(HKey key, const std::string& name, std::uint32_t& type, Bytes& data) override {
    return inner_.queryValue(key, name, type, data);
  }
  long setValue(HKey, const std::string&, std::uint32_t, const Bytes&) override {
    return error::DiskFull;
  }
  long deleteValue(HKey key, const std::string& name) override {
    return inner_.deleteValue(key, name);
  }
  long deleteKey(HKey parent, const std::string& subKey) override {
    return inner_.deleteKey(parent, subKey);
  }
  long closeKey(HKey key) override { return inner_.closeKey(key); }
  long enumKey(HKey key, std::uint32_t index, std::string& name) override {
    return inner_.enumKey(key, index, name);
  }
  long enumValue(HKey key, std::uint32_t index, std::string& name, std::uint32_t& type,
                 Bytes& data) override {
    return inner_.enumValue(key, index, name, type, data);
  }

 private:
  Registry& inner_;
};

class RegeditTest : public ::testing::Test {
 protected:
  RegeditTest() : registry_(SqliteRegistry::open(dir_ / "registry.db", true)) {}

  HKey create(HKey parent, const std::string& path) {
    HKey key = 0;
    EXPECT_EQ(registry_->createKey(parent, path, key), error::Success) << path;
    return key;
  }
  bool exists(HKey root, const std::string& path) {
    HKey key = 0;
    if (registry_->openKey(root, path, key) != error::Success) return false;
    registry_->closeKey(key);
    return true;
  }
  void importOk(const std::string& text) {
    std::string error;
    ASSERT_TRUE(importRegedit4(*registry_, text, error)) << error;
  }

  test::TempDir dir_;
  std::unique_ptr<SqliteRegistry> registry_;
};

TEST_F(RegeditTest, ExportWritesRegeditLayoutExactly) {
  HKey key = create(hkey::LocalMachine, "Software\\Vandrel Test");
  registry_->setString(key, "", "Default");
  registry_->setString(key, "Path", "C:\\Program Files\\App");
  registry_->setString(key, "Quote", "he said \"hi\"");
  registry_->setDword(key, "Count", 10);
  registry_->setValue(key, "Blob", regtype::Binary, {0x01, 0x02, 0xff});
  registry_->setValue(key, "Expand", regtype::ExpandSz, bytesOf(std::string("%windir%\0", 9)));
  registry_->setValue(key, "multi", regtype::MultiSz, bytesOf(std::string("a\0b\0\0", 5)));
  HKey sub = create(key, "sub");
  registry_->setDword(sub, "x", 0);
  create(key, "Alpha");

  const std::string expected =
      "REGEDIT4\n"
      "\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Vandrel Test]\n"
      "@=\"Default\"\n"
      "\"Blob\"=hex:01,02,ff\n"
      "\"Count\"=dword:0000000a\n"
      "\"Expand\"=hex(2):25,77,69,6e,64,69,72,25,00\n"
      "\"multi\"=hex(7):61,00,62,00,00\n"
      "\"Path\"=\"C:\\\\Program Files\\\\App\"\n"
      "\"Quote\"=\"he said \\\"hi\\\"\"\n"
      "\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Vandrel Test\\Alpha]\n"
      "\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Vandrel Test\\sub]\n"
      "\"x\"=dword:00000000\n"
      "\n";
  EXPECT_EQ(exportRegedit4(*registry_, "HKEY_LOCAL_MACHINE\\Software\\Vandrel Test"), expected);
  // Any spelling of the path finds the key; the text keeps the stored spelling.
  EXPECT_EQ(exportRegedit4(*registry_, "hklm\\SOFTWARE\\vandrel test\\"), expected);
  // The three keys made above are still open; the exports added none.
  EXPECT_EQ(registry_->openHandleCount(), 3u) << "the export leaves no handle open";
}

TEST_F(RegeditTest, ExportOfEverythingListsTheFourRoots) {
  create(hkey::Users, "Default");
  std::string text = exportRegedit4(*registry_, "");
  EXPECT_EQ(text,
            "REGEDIT4\n\n[HKEY_CLASSES_ROOT]\n\n[HKEY_CURRENT_USER]\n\n[HKEY_LOCAL_MACHINE]\n\n"
            "[HKEY_USERS]\n\n[HKEY_USERS\\Default]\n\n");
}

TEST_F(RegeditTest, ExportOfAMissingKeyIsAnError) {
  EXPECT_THROW(exportRegedit4(*registry_, "HKEY_LOCAL_MACHINE\\Nowhere"), RegeditError);
  EXPECT_THROW(exportRegedit4(*registry_, "HKEY_CURRENT_CONFIG\\System"), RegeditError);
}

TEST_F(RegeditTest, LongHexDataIsWrappedAsRegeditWrapsIt) {
  HKey key = create(hkey::CurrentUser, "W");
  Bytes data(40);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = std::uint8_t(i);
  registry_->setValue(key, "Settings", regtype::Binary, data);
  std::istringstream lines(exportRegedit4(*registry_, "HKCU\\W"));
  std::vector<std::string> all;
  for (std::string line; std::getline(lines, line);) all.push_back(line);
  ASSERT_EQ(all.size(), 6u);
  EXPECT_EQ(all[3],
            "\"Settings\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,\\");
  EXPECT_EQ(all[4], "  15,16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27");

  TempDir other;
  auto copy = SqliteRegistry::open(other / "registry.db", false);
  std::string error;
  ASSERT_TRUE(importRegedit4(*copy, exportRegedit4(*registry_, "HKCU\\W"), error)) << error;
  HKey copied = 0;
  ASSERT_EQ(copy->openKey(hkey::CurrentUser, "W", copied), error::Success);
  std::uint32_t type = 0;
  Bytes back;
  ASSERT_EQ(copy->queryValue(copied, "settings", type, back), error::Success);
  EXPECT_EQ(back, data);
}

TEST_F(RegeditTest, RoundTripKeepsEveryValueExactly) {
  struct Value {
    const char* name;
    std::uint32_t type;
    Bytes data;
  };
  const std::vector<Value> values = {
      {"", regtype::Sz, bytesOf(std::string("default\0", 8))},
      {"plain", regtype::Sz, bytesOf(std::string("a \\ b \" c\0", 10))},
      {"two lines", regtype::Sz, bytesOf(std::string("one\r\ntwo\0", 9))},
      {"no terminator", regtype::Sz, bytesOf("abc")},
      {"empty string", regtype::Sz, {}},
      {"short dword", regtype::Dword, {1, 2, 3}},
      {"max dword", regtype::Dword, {0xff, 0xff, 0xff, 0xff}},
      {"empty binary", regtype::Binary, {}},
      {"qword", 11, {1, 0, 0, 0, 0, 0, 0, 0x80}},
      {"none", regtype::None, {7}},
      {"name with \"quotes\" and \\", regtype::Sz, bytesOf(std::string("x\0", 2))},
  };
  HKey key = create(hkey::ClassesRoot, "Round\\Trip");
  for (const Value& v : values) ASSERT_EQ(registry_->setValue(key, v.name, v.type, v.data), 0);
  std::string text = exportRegedit4(*registry_, "HKEY_CLASSES_ROOT\\Round");

  TempDir other;
  auto copy = SqliteRegistry::open(other / "registry.db", false);
  std::string error;
  ASSERT_TRUE(importRegedit4(*copy, text, error)) << error << "\n" << text;
  EXPECT_EQ(exportRegedit4(*copy, "HKEY_CLASSES_ROOT\\Round"), text);
  HKey copied = 0;
  ASSERT_EQ(copy->openKey(hkey::ClassesRoot, "Round\\Trip", copied), error::Success);
  for (const Value& v : values) {
    std::uint32_t type = 99;
    Bytes data;
    ASSERT_EQ(copy->queryValue(copied, v.name, type, data), error::Success) << v.name;
    EXPECT_EQ(type, v.type) << v.name;
    EXPECT_EQ(data, v.data) << v.name;
  }
}

TEST_F(RegeditTest, ImportReadsCommentsDeletionsAndLineEnds) {
  importOk("REGEDIT4\r\n\r\n; a comment\r\n[HKEY_LOCAL_MACHINE\\Software\\Old\\Deep]\r\n"
           "\"keep\"=\"1\"\r\n\"drop\"=\"2\"\r\n");
  importOk("REGEDIT4\n"
           "[HKEY_LOCAL_MACHINE\\Software\\Old\\Deep]\n"
           "\"drop\"=-\n"
           "\"never there\"=-\n"
           "[-HKEY_LOCAL_MACHINE\\Software\\Old]\n"
           "[-HKEY_LOCAL_MACHINE\\Software\\Never There]\n"
           "[HKCU\\New]\n"
           "@=\"default\"   ; trailing comment\n"
           "\"Hex\" = hex:01,02,\\\n"
           "    03,04\n"
           "\"Num\"=dword:FF\n");
  // [-KEY] removes a whole tree even on an NT machine, whose RegDeleteKeyA would refuse.
  EXPECT_FALSE(exists(hkey::LocalMachine, "Software\\Old"));
  EXPECT_TRUE(exists(hkey::LocalMachine, "Software"));
  HKey key = 0;
  ASSERT_EQ(registry_->openKey(hkey::CurrentUser, "New", key), error::Success);
  std::string text;
  EXPECT_EQ(registry_->queryString(key, "", text), error::Success);
  EXPECT_EQ(text, "default");
  std::uint32_t type = 0, number = 0;
  Bytes data;
  EXPECT_EQ(registry_->queryValue(key, "hex", type, data), error::Success);
  EXPECT_EQ(data, (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(registry_->queryDword(key, "num", number), error::Success);
  EXPECT_EQ(number, 255u);
}

TEST_F(RegeditTest, ImportReadsVersion5TextAndUtf16Files) {
  std::string v5 =
      "\xef\xbb\xbfWindows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\U]\n"
      "\"E\"=hex(2):25,00,41,00,25,00,00,00\n\"S\"=\"\xc3\xa9t\xc3\xa9\"\n";
  importOk(v5);
  HKey key = 0;
  ASSERT_EQ(registry_->openKey(hkey::CurrentUser, "U", key), error::Success);
  std::uint32_t type = 0;
  Bytes data;
  ASSERT_EQ(registry_->queryValue(key, "E", type, data), error::Success);
  EXPECT_EQ(type, regtype::ExpandSz);
  EXPECT_EQ(data, bytesOf(std::string("%A%\0", 4)));

  std::string utf16 = "\xff\xfe";
  for (char c : std::string("REGEDIT4\r\n[HKEY_USERS\\W16]\r\n\"v\"=\"ok\"\r\n")) {
    utf16 += c;
    utf16 += '\0';
  }
  importOk(utf16);
  ASSERT_EQ(registry_->openKey(hkey::Users, "W16", key), error::Success);
  std::string text;
  EXPECT_EQ(registry_->queryString(key, "v", text), error::Success);
  EXPECT_EQ(text, "ok");
}

TEST_F(RegeditTest, BadTextIsRefusedWithItsLineAndChangesNothing) {
  struct Case {
    std::string body;  // after "REGEDIT4\n[HKEY_LOCAL_MACHINE\Made]\n"
    std::string error;
  };
  const std::vector<Case> cases = {
      {"\"a\"=dword:123456789\n", "line 3: dword: needs 1 to 8 hex digits"},
      {"\"a\"=dword:xyz\n", "line 3: dword: needs 1 to 8 hex digits"},
      {"\"a\"=hex:01,zz\n", "line 3: bad hex byte \"zz\""},
      {"\"a\"=hex:01,,02\n", "line 3: bad hex byte \"\""},
      {"\"a\"=hex(zz):00\n", "line 3: hex( needs a hex type number and )"},
      {"\"a\"=hex;01\n", "line 3: missing : after hex"},
      {"\n\"a\"=hex:01,\\\n02,\\", "line 5: hex data continues past the end of the text"},
      {"\"a\"=\"unterminated\n", "line 3: missing closing quote"},
      {"\"a\"=\"x\" junk\n", "line 3: unexpected text after the closing quote"},
      {"\"a=\"b\"\n", "line 3: missing = after the value name"},
      {"\"a\"=bogus\n", "line 3: unrecognised value data: bogus"},
      {"junk\n", "line 3: not a key, a value or a comment: junk"},
      {"[HKEY_NOWHERE\\x]\n", "line 3: unknown registry root \"HKEY_NOWHERE\""},
      {"[HKEY_LOCAL_MACHINE\\x\n", "line 3: a key line must end with ]"},
      {"[]\n", "line 3: empty key name"},
      {"[-HKEY_LOCAL_MACHINE]\n", "line 3: a root key cannot be deleted"},
      {"[-HKEY_LOCAL_MACHINE\\Made]\n\"a\"=\"b\"\n", "line 4: a value outside a key"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    std::string error;
    EXPECT_FALSE(importRegedit4(*registry_, "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Made]\n" + c.body,
                                error));
    EXPECT_EQ(error, c.error);
    EXPECT_FALSE(exists(hkey::LocalMachine, "Made")) << "bad text must change nothing";
  }
}

TEST_F(RegeditTest, TextWithoutTheHeaderIsRefused) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "line 1: the text does not start with REGEDIT4"},
      {"REGEDIT5\n[HKCU\\x]\n", "line 1: the text does not start with REGEDIT4"},
      {"\n\n[HKCU\\x]\n", "line 3: the text does not start with REGEDIT4"},
      {std::string("\0\0\0", 3), "line 1: the text does not start with REGEDIT4"},
  };
  for (const auto& [text, expected] : cases) {
    std::string error;
    EXPECT_FALSE(importRegedit4(*registry_, text, error));
    EXPECT_EQ(error, expected);
  }
  EXPECT_FALSE(exists(hkey::CurrentUser, "x"));
}

TEST_F(RegeditTest, ARegistryFailureWhileApplyingIsReportedNotHidden) {
  FullDiskRegistry full(*registry_);
  std::string error;
  EXPECT_FALSE(importRegedit4(full, "REGEDIT4\n\n[HKCU\\Full]\n\n\"v\"=dword:1\n", error));
  EXPECT_EQ(error, "line 5: cannot set the value (error 112)");
  EXPECT_EQ(registry_->openHandleCount(), 0u) << "the failed import leaves no handle open";
}

TEST_F(RegeditTest, MangledTextNeverCrashesAndAlwaysExplainsItself) {
  const std::string good =
      "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Fuzz]\n@=\"d\"\n\"s\"=\"a\\\\b\\\"c\"\n"
      "\"n\"=dword:0000000a\n\"h\"=hex(7):61,00,\\\n  62,00,00\n\"x\"=-\n[-HKCU\\Gone]\n";
  importOk(good);
  std::mt19937 random(20240601);  // fixed seed: the same texts on every run
  const std::string alphabet = "[]\"\\@=-:,;()\n\rhexdwordHKEY_0123456789abf ";
  for (int round = 0; round < 2000; ++round) {
    std::string text = good;
    int edits = 1 + int(random() % 4);
    for (int e = 0; e < edits; ++e) {
      std::size_t at = random() % text.size();
      switch (random() % 3) {
        case 0: text.erase(at, 1 + random() % 3); break;
        case 1: text.insert(at, 1, alphabet[random() % alphabet.size()]); break;
        default: text[at] = char(random() % 256); break;
      }
      if (text.empty()) text = "x";
    }
    std::string error;
    if (!importRegedit4(*registry_, text, error)) {
      EXPECT_EQ(error.rfind("line ", 0), 0u) << "unexplained failure for:\n" << text;
    }
  }
  EXPECT_EQ(registry_->openHandleCount(), 0u);
}

}  // namespace
}  // namespace vandrel::platform::emulated
