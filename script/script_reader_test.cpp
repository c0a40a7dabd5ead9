// Tests of the script value readings over a recording profile.
#include "script/script_reader.h"

#include <map>
#include <string>

#include <gtest/gtest.h>

namespace vandrel::script {
namespace {

// A profile over one map of "section/key" values that honours the buffer size and records
// what it was asked.
class MapProfile : public platform::Profile {
 public:
  std::map<std::string, std::string> values;
  std::string lastFile;
  std::size_t lastSize = 0;
  std::optional<std::string> lastWritten;

  std::string getString(const std::string& file, const std::optional<std::string>& section,
                        const std::optional<std::string>& key, const std::string& def,
                        std::size_t size) override {
    lastFile = file;
    lastSize = size;
    auto it = values.find(section.value_or("") + "/" + key.value_or(""));
    std::string text = it == values.end() ? def : it->second;
    return size == 0 ? std::string() : text.substr(0, size - 1);
  }
  int getInt(const std::string& file, const std::string& section, const std::string& key,
             int def) override {
    lastFile = file;
    auto it = values.find(section + "/" + key);
    return it == values.end() ? def : std::stoi(it->second);
  }
  bool writeString(const std::string& file, const std::string& section,
                   const std::optional<std::string>& key,
                   const std::optional<std::string>& value) override {
    lastFile = file;
    lastWritten = value;
    if (!key) return false;
    if (value) {
      values[section + "/" + *key] = *value;
    } else {
      values.erase(section + "/" + *key);
    }
    return true;
  }
  std::string getProfileString(const std::optional<std::string>&, const std::optional<std::string>&,
                               const std::string& def, std::size_t) override {
    return def;
  }
  bool writeProfileString(const std::string&, const std::optional<std::string>&,
                          const std::optional<std::string>&) override {
    return false;
  }
};

TEST(ScriptReader, SetupValueDefaults) {
  MapProfile profile;
  profile.values = {{"Settings/AppName", "Demo"}, {"Settings/Title", ""},
                    {"Files/0", "a.ex_,a.exe,3"}};
  ScriptReader reader(profile, "C:\\App\\Script.vrx");
  EXPECT_EQ(reader.value("Settings", "AppName", "x"), "Demo");
  EXPECT_EQ(reader.value("Settings", "Title", "def"), "def");  // present but empty
  EXPECT_EQ(reader.value("Settings", "Missing", "def"), "def");
  EXPECT_EQ(reader.value("Files", "0", ""), "a.ex_,a.exe,3");
  EXPECT_EQ(profile.lastFile, "C:\\App\\Script.vrx");
  EXPECT_EQ(profile.lastSize, kValueLimit);
}

TEST(ScriptReader, LongValuesAreCut) {
  MapProfile profile;
  profile.values = {{"S/long", std::string(300, 'x')}, {"S/exact", std::string(258, 'y')}};
  ScriptReader reader(profile, "s.vrx");
  EXPECT_EQ(reader.value("S", "long", ""), std::string(258, 'x'));
  EXPECT_EQ(reader.value("S", "exact", ""), std::string(258, 'y'));
  EXPECT_EQ(reader.text("S", "long"), std::string(259, 'x'));  // uninstaller's 260 buffer
  EXPECT_EQ(profile.lastSize, kValueBuffer);
}

TEST(ScriptReader, NumbersAndCounts) {
  MapProfile profile;
  profile.values = {{"Settings/Type", "2abc"}, {"Settings/Empty", ""}, {"Files/nbFiles", "12"}};
  ScriptReader reader(profile, "s.vrx");
  EXPECT_EQ(reader.number("Settings", "Type", "1"), 2);
  EXPECT_EQ(reader.number("Settings", "Empty", "1"), 1);
  EXPECT_EQ(reader.number("Settings", "Missing", "386"), 386);
  EXPECT_EQ(reader.count("Files", "nbFiles"), 12);
  EXPECT_EQ(reader.count("Files", "Missing"), 0);
  EXPECT_EQ(reader.text("Settings", "Missing"), "");
}

TEST(ScriptReader, WritesAndDeletesThroughCurrentPath) {
  MapProfile profile;
  ScriptReader reader(profile, "C:\\WINDOWS\\script.vrx");
  reader.setPath("C:\\App\\Script.vrx");
  EXPECT_TRUE(reader.write("SharedFiles", "nb", "1"));
  EXPECT_EQ(profile.lastFile, "C:\\App\\Script.vrx");
  EXPECT_EQ(reader.value("SharedFiles", "nb", ""), "1");
  EXPECT_TRUE(reader.write("SharedFiles", "nb", std::nullopt));
  EXPECT_FALSE(profile.lastWritten.has_value());
  EXPECT_EQ(reader.value("SharedFiles", "nb", "gone"), "gone");
}

}  // namespace
}  // namespace vandrel::script
