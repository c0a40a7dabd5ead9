// Earlier installations found through their registrations and installed scripts, what an
// upgrade adds to the installed script, and the earlier registrations it removes.
#include "setup/upgrade/upgrade.h"

#include <gtest/gtest.h>

#include "script/removal_marks.h"
#include "script/schema.h"
#include "setup/testing/machine_fixture.h"

namespace vandrel::setup {
namespace {

using testing::MachineFixture;

const char* const kEarlierScript =
    "[Settings]\nAppName=quillpad\nVer=1.0\n"
    "[Directories]\nnbDir=6\n0=Data,0\n1=Bin,0\n2=,0\n3=,1\n4=,2\n5=,3\n"
    "[Files]\nnbFiles=4\n0=Peskin32.ex_,Peskin32.exe,5,1,1000,0,1,1,10,0,0\n"
    "1=a.exe,a.exe,1,1,0,1,0,0,5,0,0\n2=old.dll,old.dll,1,1,0,1,0,0,5,0,0\n3=keep.txt,keep.txt,0,1,0,0,0,0,5,0,0\n"
    "[AddINI]\nnbINI=2\n0=Quill,Path,[2]\n1=Quill,OldKey,1\n"
    "[Registry]\nnbReg=4\n0=1,Software\\Quill,Path,[2],1\n1=1,Software\\Quill\\Old,,x,0\n"
    "2=2,Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QuillPad 1.0,DisplayName,QuillPad 1.0,1\n"
    "3=2,Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QuillPad 1.0,UninstallString,x,0\n"
    "[SharedFiles]\nnb=1\n0=C:\\WINDOWS\\SYSTEM\\common.dll\n"
    "[AddedLinks]\nnb=1\n0=C:\\WINDOWS\\Start Menu\\Programs\\Quill\\Old.lnk\n"
    "[AddedFolders]\nnb=1\n0=C:\\WINDOWS\\Start Menu\\Programs\\Quill\n";

const char* const kNewScript =
    "[Settings]\nAppName=QuillPad\nVer=1.1\n"
    "[Directories]\nnbDir=5\n0=Bin,0\n1=,0\n2=,1\n3=,2\n4=,3\n"
    "[Files]\nnbFiles=2\n0=Peskin32.ex_,Peskin32.exe,4,1,1000,0,1,1,10,0,0\n1=a.exe,a.exe,0,1,0,1,0,0,5,0,0\n"
    "[AddINI]\nnbINI=1\n0=QUILL,path,[1]\n"
    "[Registry]\nnbReg=1\n0=1,Software\\Quill,Path,[1],1\n"
    "[SharedFiles]\nnb=1\n0=C:\\WINDOWS\\SYSTEM\\common.dll\n"
    "[AddedLinks]\nnb=1\n0=C:\\WINDOWS\\Start Menu\\Programs\\Quill\\Quill.lnk\n"
    "[AddedFolders]\nnb=1\n0=C:\\WINDOWS\\Start Menu\\Programs\\Quill\n";

void registerProgram(platform::Registry& registry, const std::string& name, const std::string& command) {
  platform::HKey key = 0;
  ASSERT_EQ(registry.createKey(platform::hkey::LocalMachine, std::string(kUninstallKey) + "\\" + name, key), 0);
  registry.setString(key, "DisplayName", name);
  registry.setString(key, "UninstallString", command);
  registry.closeKey(key);
}

bool registered(platform::Registry& registry, const std::string& name) {
  platform::HKey key = 0;
  if (registry.openKey(platform::hkey::LocalMachine, std::string(kUninstallKey) + "\\" + name, key) != 0) return false;
  registry.closeKey(key);
  return true;
}

TEST(EarlierInstallation, TheFolderOfAnUninstallCommandOfThisSystem) {
  EXPECT_EQ(folderOfUninstallCommand("C:\\WINDOWS\\Peskin32.exe C:\\Quill"), "C:\\Quill");
  EXPECT_EQ(folderOfUninstallCommand("C:\\WINDOWS\\PESKIN32.EXE c:\\Program Files\\Quill\\"),
            "c:\\Program Files\\Quill");
  EXPECT_EQ(folderOfUninstallCommand("C:\\Quill\\Uninst.exe C:\\Quill"), std::nullopt);
  EXPECT_EQ(folderOfUninstallCommand("C:\\WINDOWS\\Peskin32.exe"), std::nullopt);
}

TEST(EarlierInstallation, PathsCompareWithoutCaseAndDoubledOrFinalBackslashes) {
  EXPECT_TRUE(samePath("C:\\WINDOWS\\\\a.dll", "c:\\windows\\A.DLL"));
  EXPECT_TRUE(samePath("C:\\Quill\\", "C:\\QUILL"));
  EXPECT_FALSE(samePath("C:\\Quill", "C:\\Quill2"));
  EXPECT_EQ(normalPath("C:\\"), "C:\\");
}

TEST(EarlierInstallation, FoundThroughItsRegistrationsAndItsInstalledScript) {
  MachineFixture machine;
  machine.put("C:\\Quill\\Script.vrx", kEarlierScript);
  machine.put("C:\\Other\\Script.vrx", "[Settings]\nAppName=Other\nVer=1.0\n");
  platform::Registry& registry = machine.registry();
  registerProgram(registry, "QuillPad 0.9", "C:\\WINDOWS\\Peskin32.exe C:\\Quill");
  registerProgram(registry, "QuillPad 1.0", "C:\\WINDOWS\\Peskin32.exe c:\\quill");
  registerProgram(registry, "Other 1.0", "C:\\WINDOWS\\Peskin32.exe C:\\Other");
  registerProgram(registry, "Gone 1.0", "C:\\WINDOWS\\Peskin32.exe C:\\Gone");
  std::vector<EarlierInstallation> found = findInstallations(machine, "C:\\WINDOWS", "QUILLPAD");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].folder, "C:\\Quill");
  EXPECT_EQ(found[0].registrations, (std::vector<std::string>{"QuillPad 0.9", "QuillPad 1.0"}));
  EXPECT_EQ(found[0].version, "1.0");
  const InstalledRecords& r = found[0].records;
  EXPECT_EQ(r.files, (std::vector<std::string>{"C:\\Quill\\Bin\\a.exe", "C:\\Quill\\Bin\\old.dll"}));
  EXPECT_EQ(r.sharedFiles, (std::vector<std::string>{"C:\\WINDOWS\\SYSTEM\\common.dll"}));
  EXPECT_EQ(r.folders, (std::vector<std::string>{"C:\\Quill\\Data", "C:\\Quill\\Bin"}));
  EXPECT_EQ(r.iniLines.size(), 2u);
  EXPECT_EQ(r.registryLines.size(), 4u);
  EXPECT_TRUE(findInstallations(machine, "C:\\WINDOWS", "Quill").empty());
}

TEST(EarlierInstallation, AnUpgradeRecordsWhatTheNewVersionDoesNotHold) {
  MachineFixture machine;
  machine.put("C:\\Quill\\Script.vrx", kEarlierScript);
  script::DirectoryContext context{"C:\\Quill", "C:\\WINDOWS", ""};
  InstalledRecords earlier = readInstalledRecords(machine.profile(), "C:\\Quill\\Script.vrx", context);
  machine.put("C:\\Quill\\Script.vrx", kNewScript);
  script::ScriptReader installed(machine.profile(), "C:\\Quill\\Script.vrx");
  recordEarlierRecords(installed, earlier, context);
  using script::Section;
  // The file no longer shipped is recorded for removal; the shared file stays listed once.
  EXPECT_EQ(installed.count(Section::SharedFiles), 2);
  EXPECT_EQ(installed.text(Section::SharedFiles, "1"), "C:\\Quill\\Bin\\old.dll");
  // The earlier link and the earlier author folder come first: removed after the new ones.
  EXPECT_EQ(installed.count(Section::AddedLinks), 2);
  EXPECT_EQ(installed.text(Section::AddedLinks, "0"), "C:\\WINDOWS\\Start Menu\\Programs\\Quill\\Old.lnk");
  EXPECT_EQ(installed.count(Section::AddedFolders), 2);
  EXPECT_EQ(installed.text(Section::AddedFolders, "0"), "C:\\Quill\\Data");
  EXPECT_EQ(installed.text(Section::AddedFolders, "1"), "C:\\WINDOWS\\Start Menu\\Programs\\Quill");
  // The Win.ini key both write is listed once (names compared without case); the earlier
  // registration is not recorded: it is removed by the upgrade itself.
  EXPECT_EQ(installed.count(Section::AddIni), 2);
  EXPECT_EQ(installed.text(Section::AddIni, "1"), "Quill,OldKey,1");
  EXPECT_EQ(installed.count(Section::Registry), 2);
  EXPECT_EQ(installed.text(Section::Registry, "1"), "1,Software\\Quill\\Old,,x,0");
  // [Files] is the new version's alone.
  EXPECT_EQ(installed.count(Section::Files), 2);
}

TEST(EarlierInstallation, ARepairRecordsNothingMore) {
  MachineFixture machine;
  machine.put("C:\\Quill\\Script.vrx", kNewScript);
  script::DirectoryContext context{"C:\\Quill", "C:\\WINDOWS", ""};
  InstalledRecords earlier = readInstalledRecords(machine.profile(), "C:\\Quill\\Script.vrx", context);
  script::ScriptReader installed(machine.profile(), "C:\\Quill\\Script.vrx");
  recordEarlierRecords(installed, earlier, context);
  EXPECT_EQ(machine.read("C:\\Quill\\Script.vrx"), kNewScript);
}

TEST(EarlierInstallation, TheEarlierRegistrationsGoOnceTheNewOneIsInPlace) {
  MachineFixture machine;
  platform::Registry& registry = machine.registry();
  registerProgram(registry, "QuillPad 0.9", "C:\\WINDOWS\\Peskin32.exe C:\\Quill");
  registerProgram(registry, "QuillPad 1.0", "C:\\WINDOWS\\Peskin32.exe C:\\Quill");
  registerProgram(registry, "QuillPad 1.0 copy", "C:\\WINDOWS\\Peskin32.exe C:\\Elsewhere");
  EarlierInstallation earlier;
  earlier.folder = "C:\\Quill";
  earlier.registrations = {"QuillPad 0.9", "QuillPad 1.0"};
  // Without the new registration nothing goes: the folder must stay removable.
  removeEarlierRegistrations(registry, earlier, "QuillPad 1.1", nullptr);
  EXPECT_TRUE(registered(registry, "QuillPad 0.9"));
  EXPECT_TRUE(registered(registry, "QuillPad 1.0"));
  registerProgram(registry, "QuillPad 1.1", "C:\\WINDOWS\\Peskin32.exe C:\\Quill");
  removeEarlierRegistrations(registry, earlier, "QuillPad 1.1", nullptr);
  EXPECT_FALSE(registered(registry, "QuillPad 0.9"));
  EXPECT_FALSE(registered(registry, "QuillPad 1.0"));
  EXPECT_TRUE(registered(registry, "QuillPad 1.1"));
  EXPECT_TRUE(registered(registry, "QuillPad 1.0 copy"));
  // A repair keeps its own registration.
  earlier.registrations = {"QuillPad 1.1"};
  removeEarlierRegistrations(registry, earlier, "quillpad 1.1", nullptr);
  EXPECT_TRUE(registered(registry, "QuillPad 1.1"));
}

const char* const kSharedDlls = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const std::string kMarkOfRun = "C:\\QUILL|run1|C:\\WINDOWS\\SYSTEM\\COMMON.DLL";
const std::string kMarkOfOtherRun = "C:\\QUILL|run0|C:\\WINDOWS\\SYSTEM\\COMMON.DLL";
const std::string kMarkElsewhere = "C:\\ELSEWHERE|run1|C:\\WINDOWS\\SYSTEM\\COMMON.DLL";

void setValue(platform::Registry& registry, const std::string& subKey, const std::string& name, std::uint32_t value) {
  platform::HKey key = 0;
  ASSERT_EQ(registry.createKey(platform::hkey::LocalMachine, subKey, key), 0);
  registry.setDword(key, name, value);
  registry.closeKey(key);
}

std::optional<std::uint32_t> valueOf(platform::Registry& registry, const std::string& subKey, const std::string& name) {
  platform::HKey key = 0;
  if (registry.openKey(platform::hkey::LocalMachine, subKey, key) != 0) return std::nullopt;
  std::uint32_t value = 0;
  long rc = registry.queryDword(key, name, value);
  registry.closeKey(key);
  if (rc != 0) return std::nullopt;
  return value;
}

// QuillPad's removal was stopped after it lowered common.dll's count (2, with another
// installation's use) to 1; its script names the run, the registry holds the run's mark.
TEST(EarlierInstallation, TheCountsAStoppedRemovalReleasedAreGivenBack) {
  MachineFixture machine;
  machine.put("C:\\Quill\\Script.vrx", std::string(kEarlierScript) + "[Removal]\nRun=run1\n");
  platform::Registry& registry = machine.registry();
  registerProgram(registry, "QuillPad 1.0", "C:\\WINDOWS\\Peskin32.exe C:\\Quill");
  setValue(registry, kSharedDlls, "C:\\WINDOWS\\SYSTEM\\common.dll", 1);
  for (const std::string& mark : {kMarkOfRun, kMarkOfOtherRun, kMarkElsewhere})
    setValue(registry, script::kRemovalMarksKey, mark, 1);

  std::vector<EarlierInstallation> found = findInstallations(machine, "C:\\WINDOWS", "QuillPad");
  ASSERT_EQ(found.size(), 1u);
  ASSERT_EQ(found[0].releasedCounts.size(), 1u) << "only the marks of the run the script names";
  EXPECT_EQ(found[0].releasedCounts[0].mark, kMarkOfRun);
  EXPECT_EQ(found[0].releasedCounts[0].path, "C:\\WINDOWS\\SYSTEM\\common.dll");

  giveBackReleasedCounts(registry, found[0], nullptr);
  EXPECT_EQ(valueOf(registry, kSharedDlls, "C:\\WINDOWS\\SYSTEM\\common.dll"), 2u)
      << "counted again for QuillPad, which its next removal lowers once";
  EXPECT_EQ(valueOf(registry, script::kRemovalMarksKey, kMarkOfRun), std::nullopt);
  EXPECT_EQ(valueOf(registry, script::kRemovalMarksKey, kMarkOfOtherRun), 1u);
  EXPECT_EQ(valueOf(registry, script::kRemovalMarksKey, kMarkElsewhere), 1u);
  EXPECT_TRUE(findInstallations(machine, "C:\\WINDOWS", "QuillPad")[0].releasedCounts.empty())
      << "given back once only";

  // The last mark dropped takes the marks' key with it.
  EXPECT_EQ(script::dropRemovalMark(registry, kMarkOfOtherRun), 0);
  EXPECT_EQ(script::dropRemovalMark(registry, kMarkElsewhere), 0);
  platform::HKey key = 0;
  EXPECT_NE(registry.openKey(platform::hkey::LocalMachine, script::kRemovalMarksKey, key), 0);
}

TEST(EarlierInstallation, AnInstallationWithoutAStoppedRemovalHasNoCountsToGiveBack) {
  MachineFixture machine;
  machine.put("C:\\Quill\\Script.vrx", kEarlierScript);
  registerProgram(machine.registry(), "QuillPad 1.0", "C:\\WINDOWS\\Peskin32.exe C:\\Quill");
  // A mark left by a removal of an earlier installation in the folder, whose script is gone.
  setValue(machine.registry(), script::kRemovalMarksKey, kMarkOfOtherRun, 1);
  std::vector<EarlierInstallation> found = findInstallations(machine, "C:\\WINDOWS", "QuillPad");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_TRUE(found[0].releasedCounts.empty());
}

}  // namespace
}  // namespace vandrel::setup
