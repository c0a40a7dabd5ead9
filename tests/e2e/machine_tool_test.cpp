// End-to-end tests of vandrel-machine, run as a user runs it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <optional>

#include "tests/support/pe_builder.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace vandrel {
namespace {

using test::readFile;
using test::RunResult;
using test::TempDir;
using test::writeFile;

RunResult tool(const std::vector<std::string>& args) { return test::runProgram("vandrel-machine", args); }

class MachineToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RunResult r = tool({"init", root(), "--preset", "win98"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
  }
  std::string root() const { return (temp_ / "m").string(); }
  fs::path host(const std::string& relative) const { return temp_ / "m" / "drive_c" / relative; }
  // Places the probe program in the machine as an installer would copy it: no execute bit.
  void placeProbe(const std::string& relative) {
    fs::copy_file(MACHINE_PROBE, host(relative), fs::copy_options::overwrite_existing);
    ::chmod(host(relative).c_str(), 0644);
  }
  std::string exportOf(const std::string& key) {
    RunResult r = tool({"reg", "export", root(), key});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    return r.out;
  }

  TempDir temp_;
};

// Suites are named so that "ctest -R machine" picks them out.
using machine_tool = MachineToolTest;

// Each tool names itself and the release with --version, exit 0, without a subcommand.
TEST(machine_tool_version, ToolsTellTheirVersion) {
  for (const char* program : {"vandrel-machine", "vandrel-lz"}) {
    RunResult r = test::runProgram(program, {"--version"});
    EXPECT_EQ(r.exitStatus, 0) << program << r.err;
    EXPECT_EQ(r.out.rfind(std::string(program) + " 3.", 0), 0u) << r.out;
  }
}

struct PresetCase {
  const char* preset;
  const char* programsFolder;
  const char* commonPrograms;  // nullptr: no common folders
};

TEST(machine_tool_presets, InitMakesEachPresetsFoldersAndShellFolders) {
  const PresetCase cases[] = {
      {"win95", "C:\\\\WINDOWS\\\\Start Menu\\\\Programs", nullptr},
      {"win98", "C:\\\\WINDOWS\\\\Start Menu\\\\Programs", nullptr},
      {"nt4", "C:\\\\WINNT\\\\Profiles\\\\ann\\\\Start Menu\\\\Programs",
       "C:\\\\WINNT\\\\Profiles\\\\All Users\\\\Start Menu\\\\Programs"},
      {"win2000", "C:\\\\Documents and Settings\\\\ann\\\\Start Menu\\\\Programs",
       "C:\\\\Documents and Settings\\\\All Users\\\\Start Menu\\\\Programs"},
  };
  const std::string shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  for (const PresetCase& c : cases) {
    SCOPED_TRACE(c.preset);
    TempDir temp;
    std::string root = (temp / "m").string();
    RunResult init = tool({"init", root, "--preset", c.preset, "--user", "ann"});
    ASSERT_EQ(init.exitStatus, 0) << init.err;
    RunResult user = tool({"reg", "export", root, "HKEY_CURRENT_USER\\" + shellFolders});
    ASSERT_EQ(user.exitStatus, 0) << user.err;
    EXPECT_EQ(user.out.rfind("REGEDIT4\n", 0), 0u);
    EXPECT_NE(user.out.find(std::string("\"Programs\"=\"") + c.programsFolder + "\""), std::string::npos)
        << user.out;
    RunResult common = tool({"reg", "export", root, "HKEY_LOCAL_MACHINE\\" + shellFolders});
    if (c.commonPrograms) {
      EXPECT_NE(common.out.find(std::string("\"Common Programs\"=\"") + c.commonPrograms + "\""),
                std::string::npos)
          << common.out;
    } else {
      EXPECT_EQ(common.exitStatus, 1);
    }
    // The folder the value names exists on the host.
    RunResult path = tool({"path", root, std::string(c.programsFolder)});
    ASSERT_EQ(path.exitStatus, 0) << path.err;
    std::string hostFolder = path.out.substr(0, path.out.size() - 1);
    EXPECT_TRUE(fs::is_directory(hostFolder)) << hostFolder;
    RunResult keys = tool({"reg", "export", root, "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion"});
    for (const char* key : {"SharedDLLs]", "Run]", "RunOnce]", "Uninstall]"})
      EXPECT_NE(keys.out.find(key), std::string::npos) << key;
  }
}

TEST_F(machine_tool, IniSetGetRoundTrip) {
  const std::string file = "C:\\Program Files\\App\\app.ini";
  ASSERT_EQ(tool({"init", (temp_ / "other").string(), "--preset", "nt4"}).exitStatus, 0);
  fs::create_directories(host("Program Files/App"));
  EXPECT_EQ(tool({"ini", "set", root(), file, "Main", "Name", "  \"Quoted Value\"  "}).exitStatus, 0);
  EXPECT_EQ(tool({"ini", "get", root(), file, "MAIN", "name"}).out, "Quoted Value\n");
  EXPECT_EQ(tool({"ini", "get", root(), file, "Main", "Name", "--size", "7"}).out, "Quoted\n");
  EXPECT_EQ(tool({"ini", "get", root(), file, "Main", "Missing", "fallback"}).out, "fallback\n");
  EXPECT_EQ(tool({"ini", "get", root(), file, "Main", "Missing"}).out, "\n");
  EXPECT_EQ(tool({"ini", "set", root(), file, "Main", "Count", "42"}).exitStatus, 0);
  EXPECT_EQ(tool({"ini", "int", root(), file, "Main", "Count", "7"}).out, "42\n");
  EXPECT_EQ(tool({"ini", "int", root(), file, "Main", "Nothing", "-5"}).out, "-5\n");
  EXPECT_EQ(tool({"ini", "set", root(), file, "Main", "Count"}).exitStatus, 0);  // deletes the key
  EXPECT_EQ(tool({"ini", "int", root(), file, "Main", "Count", "7"}).out, "7\n");
  EXPECT_EQ(tool({"ini", "delete", root(), file, "Main"}).exitStatus, 0);
  EXPECT_EQ(readFile(host("Program Files/App/app.ini")).find("Main"), std::string::npos);
  // A file name without a folder lies in the Windows folder.
  EXPECT_EQ(tool({"ini", "set", root(), "win.ini", "Extra", "k", "v"}).exitStatus, 0);
  EXPECT_EQ(tool({"ini", "get", root(), "C:\\WINDOWS\\WIN.INI", "extra", "K"}).out, "v\n");
  // Z: is the host's, read-only.
  RunResult denied = tool({"ini", "set", root(), "Z:" + (temp_ / "x.ini").string(), "S", "k", "v"});
  EXPECT_EQ(denied.exitStatus, 1);
  EXPECT_FALSE(fs::exists(temp_ / "x.ini"));
}

// The machine keeps its texts in code page 1252; the tool shows them, and takes what is typed,
// in UTF-8 (0x80 the euro sign, 0x92 the typographic apostrophe).
TEST_F(machine_tool, TextsCrossTheTerminalInUtf8) {
  const std::string file = "C:\\WINDOWS\\app.ini";
  EXPECT_EQ(
      tool({"ini", "set", root(), file, "Caf\xc3\xa9", "Price", "5 \xe2\x82\xac, it\xe2\x80\x99s"})
          .exitStatus,
      0);
  EXPECT_EQ(readFile(host("WINDOWS/app.ini")), "[Caf\xe9]\r\nPrice=5 \x80, it\x92s\r\n");
  EXPECT_EQ(tool({"ini", "get", root(), file, "caf\xc3\xa9", "price"}).out,
            "5 \xe2\x82\xac, it\xe2\x80\x99s\n");
  writeFile(host("WINDOWS/app.ini"), "[S]\r\nk=\x93quoted\x94\r\n");
  EXPECT_EQ(tool({"ini", "get", root(), file, "S", "k"}).out, "\xe2\x80\x9cquoted\xe2\x80\x9d\n");

  // A registry file as regedit writes it (code page) and one as the export writes it (UTF-8)
  // give the same values.
  const std::string key =
      "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  writeFile(temp_ / "cp.reg",
            "REGEDIT4\n\n" + key + "Caf\xe9]\n\"DisplayName\"=\"Caf\xe9 \x80\"\n");
  writeFile(
      temp_ / "utf8.reg",
      "REGEDIT4\n\n" + key + "Tea]\n\"DisplayName\"=\"Tea \xe2\x80\x99n\xe2\x80\x99 \xc3\xa9\"\n");
  ASSERT_EQ(tool({"reg", "import", root(), (temp_ / "cp.reg").string()}).exitStatus, 0);
  ASSERT_EQ(tool({"reg", "import", root(), (temp_ / "utf8.reg").string()}).exitStatus, 0);
  EXPECT_EQ(tool({"programs", root()}).out,
            "Caf\xc3\xa9 \xe2\x82\xac\nTea \xe2\x80\x99n\xe2\x80\x99 \xc3\xa9\n");
  std::string exported = exportOf(
      "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\caf\xc3\xa9");
  EXPECT_NE(exported.find("Uninstall\\Caf\xc3\xa9]"), std::string::npos) << exported;
  EXPECT_NE(exported.find("\"DisplayName\"=\"Caf\xc3\xa9 \xe2\x82\xac\""), std::string::npos)
      << exported;
  // The export read back leaves the values as they were.
  writeFile(temp_ / "again.reg", exported);
  ASSERT_EQ(tool({"reg", "import", root(), (temp_ / "again.reg").string()}).exitStatus, 0);
  EXPECT_EQ(
      exportOf("HKEY_LOCAL_"
               "MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Caf\xc3\xa9"),
      exported);
  EXPECT_EQ(tool({"programs", root()}).out,
            "Caf\xc3\xa9 \xe2\x82\xac\nTea \xe2\x80\x99n\xe2\x80\x99 \xc3\xa9\n");
  // A registration left with its command but without its name (a removal stopped between
  // the two) is listed by its key's name; one with neither is not a program.
  writeFile(temp_ / "half.reg", "REGEDIT4\n\n" + key + "Half 1.0]\n\"UninstallString\"=\"Peskin32.exe C:\\\\Half\"\n\n" +
                                    key + "Empty]\n\"Other\"=\"x\"\n");
  ASSERT_EQ(tool({"reg", "import", root(), (temp_ / "half.reg").string()}).exitStatus, 0);
  EXPECT_EQ(tool({"programs", root()}).out,
            "Caf\xc3\xa9 \xe2\x82\xac\nHalf 1.0\nTea \xe2\x80\x99n\xe2\x80\x99 \xc3\xa9\n");
}

TEST_F(machine_tool, PathMapsWindowsPathsAndRefusesOthers) {
  RunResult r = tool({"path", root(), "c:\\windows\\New Folder\\file.txt"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.out, host("WINDOWS/New Folder/file.txt").string() + "\n");
  EXPECT_EQ(tool({"path", root(), "C:\\..\\..\\etc"}).out, host("etc").string() + "\n");
  RunResult unc = tool({"path", root(), "\\\\server\\share"});
  EXPECT_EQ(unc.exitStatus, 1);
  EXPECT_NE(unc.err.find("vandrel-machine:"), std::string::npos);
  EXPECT_EQ(tool({"path", root(), "Q:\\x"}).exitStatus, 1);
}

TEST_F(machine_tool, RunStartsANativeProgramAndPassesOnItsStatus) {
  placeProbe("WINDOWS/probe.exe");
  RunResult r = tool({"run", root(), "probe  first arg \"two\" exit=9"});
  EXPECT_EQ(r.exitStatus, 9) << r.err;
  std::string log = readFile(fs::current_path() / "probe.log");
  fs::remove(fs::current_path() / "probe.log");
  EXPECT_EQ(log, "argc=2|arg=first arg \"two\" exit=9|cwd=" + fs::current_path().string() +
                     "|machine=" + root() + "\n");
  RunResult missing = tool({"run", root(), "C:\\nothing.exe"});
  EXPECT_EQ(missing.exitStatus, 1);
  EXPECT_NE(missing.err.find("cannot start"), std::string::npos);
}

TEST_F(machine_tool, BootRunsRunOnceOnceThenRun) {
  placeProbe("WINDOWS/probe.exe");
  writeFile(temp_ / "boot.reg",
            "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce]\n"
            "\"Clean\"=\"C:\\\\WINDOWS\\\\probe.exe once\"\n\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n"
            "\"Always\"=\"probe.exe always\"\n");
  RunResult imported = tool({"reg", "import", root(), (temp_ / "boot.reg").string()});
  ASSERT_EQ(imported.exitStatus, 0) << imported.err;
  const fs::path ini = temp_ / "m" / "machine.ini";
  writeFile(ini, readFile(ini) + "[State]\nRestartPending=1\n");
  EXPECT_EQ(tool({"boot", root()}).exitStatus, 0);
  EXPECT_EQ(readFile(ini).find("RestartPending"), std::string::npos);
  EXPECT_NE(readFile(ini).find("WindowsDir=C:\\WINDOWS"), std::string::npos);
  EXPECT_EQ(tool({"boot", root()}).exitStatus, 0);
  const std::string cwd = "|cwd=" + host("WINDOWS").string() + "|machine=" + root() + "\n";
  EXPECT_EQ(readFile(host("WINDOWS/probe.log")),
            "argc=2|arg=once" + cwd + "argc=2|arg=always" + cwd + "argc=2|arg=always" + cwd);
  EXPECT_EQ(exportOf("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce").find("Clean"),
            std::string::npos);
}

TEST_F(machine_tool, ProgramsAndUninstall) {
  placeProbe("WINDOWS/probe.exe");
  writeFile(temp_ / "app.reg",
            "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\MyApp]\n"
            "\"DisplayName\"=\"My Application 2.0\"\n"
            "\"UninstallString\"=\"probe.exe C:\\\\Program Files\\\\MyApp exit=3\"\n");
  ASSERT_EQ(tool({"reg", "import", root(), (temp_ / "app.reg").string()}).exitStatus, 0);
  EXPECT_EQ(tool({"programs", root()}).out, "My Application 2.0\n");
  EXPECT_EQ(tool({"uninstall", root(), "my application 2.0"}).exitStatus, 3);
  EXPECT_EQ(tool({"uninstall", root(), "MyApp"}).exitStatus, 3);
  EXPECT_NE(readFile(host("WINDOWS/probe.log")).find("arg=C:\\Program Files\\MyApp exit=3|"), std::string::npos);
  RunResult unknown = tool({"uninstall", root(), "Other"});
  EXPECT_EQ(unknown.exitStatus, 1);
  EXPECT_NE(unknown.err.find("no installed program"), std::string::npos);
}

// Everything a machine folder holds: each entry's kind, permission bits and, for a file, its
// contents. Two snapshots are equal when nothing in the folder was changed, made or removed.
std::map<std::string, std::string> snapshot(const fs::path& root) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    struct stat st {};
    ::lstat(entry.path().c_str(), &st);
    std::string what = std::to_string(st.st_mode);
    if (S_ISREG(st.st_mode)) what += ":" + readFile(entry.path());
    entries[fs::relative(entry.path(), root).string()] = what;
  }
  return entries;
}

// A plan changes nothing and starts nothing but this system's own programs, which plan
// themselves: an uninstall, a restart or a run only say what they would start; the registry,
// the files, their modes and the locks stay as they were.
TEST_F(machine_tool, PlanChangesNothingAndStartsNothing) {
  placeProbe("WINDOWS/Probe32.exe");
  // The uninstaller as a setup leaves it: not executable until it is first run.
  fs::copy_file(test::binPath("peskin32"), host("WINDOWS/Peskin32.exe"));
  ::chmod(host("WINDOWS/Peskin32.exe").c_str(), 0644);
  const fs::path outside = temp_ / "outside.txt";
  writeFile(temp_ / "host.sh", "#!/bin/sh\necho ran > " + outside.string() + "\n");
  ::chmod((temp_ / "host.sh").c_str(), 0755);
  const fs::path ini = temp_ / "m" / "machine.ini";
  writeFile(ini, readFile(ini) + "[State]\nRestartPending=1\n");
  std::string config = readFile(ini);
  config.replace(config.find("[Programs]\n"), 11, "[Programs]\nHOST.EXE=" + (temp_ / "host.sh").string() + "\n");
  writeFile(ini, config);
  writeFile(temp_ / "plan.reg",
            "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Host]\n"
            "\"UninstallString\"=\"host.exe\"\n\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Own]\n"
            "\"UninstallString\"=\"C:\\\\WINDOWS\\\\Peskin32.exe /DeleteTemp\"\n\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Probe]\n"
            "\"UninstallString\"=\"C:\\\\WINDOWS\\\\Probe32.exe exit=0\"\n\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce]\n"
            "\"Clean\"=\"C:\\\\WINDOWS\\\\Probe32.exe once\"\n\n"
            "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n"
            "\"Always\"=\"host.exe always\"\n");
  ASSERT_EQ(tool({"reg", "import", root(), (temp_ / "plan.reg").string()}).exitStatus, 0);
  writeFile(temp_ / "other.reg", "REGEDIT4\n\n[HKEY_CURRENT_USER\\Planned]\n\"A\"=\"1\"\n");
  const std::map<std::string, std::string> before = snapshot(temp_ / "m");

  const std::map<std::string, std::string> plan{{"VANDREL_PLAN", "1"}};
  RunResult mapped = test::runProgram("vandrel-machine", {"uninstall", root(), "Host"}, plan);
  EXPECT_EQ(mapped.exitStatus, 0) << mapped.err;
  EXPECT_EQ(mapped.out, "would run: host.exe\n");
  RunResult probe = test::runProgram("vandrel-machine", {"uninstall", root(), "Probe"}, plan);
  EXPECT_EQ(probe.exitStatus, 0) << probe.err;
  EXPECT_EQ(probe.out, "would run: C:\\WINDOWS\\Probe32.exe exit=0\n");
  // The uninstaller plans itself: it runs (from a copy), and nothing is said for it.
  RunResult own = test::runProgram("vandrel-machine", {"uninstall", root(), "Own"}, plan);
  EXPECT_EQ(own.exitStatus, 0) << own.err;
  EXPECT_EQ(own.out, "");
  RunResult boot = test::runProgram("vandrel-machine", {"boot", root()}, plan);
  EXPECT_EQ(boot.exitStatus, 0) << boot.err;
  EXPECT_EQ(boot.out, "would run: C:\\WINDOWS\\Probe32.exe once\nwould run: host.exe always\n");
  RunResult run = test::runProgram("vandrel-machine", {"run", root(), "host.exe now"}, plan);
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, "would run: host.exe now\n");
  for (const std::vector<std::string>& change :
       {std::vector<std::string>{"ini", "set", root(), "WIN.INI", "Planned", "Key", "1"},
        std::vector<std::string>{"ini", "delete", root(), "WIN.INI", "windows"},
        std::vector<std::string>{"reg", "import", root(), (temp_ / "other.reg").string()}}) {
    RunResult r = test::runProgram("vandrel-machine", change, plan);
    EXPECT_EQ(r.exitStatus, 0) << change[0] << " " << change[1] << ": " << r.err;
  }
  RunResult init = test::runProgram("vandrel-machine", {"init", (temp_ / "new").string()}, plan);
  EXPECT_EQ(init.exitStatus, 1);
  EXPECT_FALSE(fs::exists(temp_ / "new"));
  RunResult invalid = test::runProgram("vandrel-machine", {"boot", root()}, {{"VANDREL_PLAN", "yes"}});
  EXPECT_EQ(invalid.exitStatus, 1);
  EXPECT_EQ(invalid.err, "vandrel-machine: VANDREL_PLAN must be 1 (a plan: nothing is changed) or 0, not \"yes\"\n");

  EXPECT_FALSE(fs::exists(outside));
  EXPECT_FALSE(fs::exists(host("WINDOWS/probe.log")));
  EXPECT_EQ(snapshot(temp_ / "m"), before);
}

// The same command on the same machine, once as it is and once where it cannot be written:
// through a read-only bind of its folder (as root, whom file modes do not stop), or with its
// folder and files made read-only (as any other user).
struct ReadOnlyRun {
  RunResult writable, readOnly;
};

// Runs vandrel-machine args over a read-only view of root; nullopt when this host offers
// none (no bubblewrap for root's read-only bind).
std::optional<RunResult> runOnReadOnlyMachine(const std::string& program, const fs::path& root,
                                              const std::vector<std::string>& args,
                                              const std::map<std::string, std::string>& env) {
  if (::geteuid() != 0) {
    auto setWritable = [&root](bool writable) {
      for (const auto& entry : fs::recursive_directory_iterator(root))
        fs::permissions(entry.path(), fs::perms::owner_write,
                        writable ? fs::perm_options::add : fs::perm_options::remove);
      fs::permissions(root, fs::perms::owner_write, writable ? fs::perm_options::add : fs::perm_options::remove);
    };
    setWritable(false);
    RunResult r = test::runProgram(program, args, env);
    setWritable(true);
    return r;
  }
  const char* bwrap = "/usr/bin/bwrap";
  if (::access(bwrap, X_OK) != 0) return std::nullopt;
  if (test::runProgram(bwrap, {"--dev-bind", "/", "/", "--ro-bind", root.string(), root.string(), "--", "/bin/true"})
          .exitStatus != 0)
    return std::nullopt;
  std::vector<std::string> words{"--dev-bind", "/", "/", "--ro-bind", root.string(), root.string(), "--",
                                 test::binPath(program).string()};
  words.insert(words.end(), args.begin(), args.end());
  return test::runProgram(bwrap, words, env);
}

// Reading needs no writing: every reading command, and a plan, answers on a machine that
// cannot be written as it does on one that can, and leaves it as it was.
TEST_F(machine_tool, ReadingWorksWhereWritingCannot) {
  writeFile(temp_ / "app.reg",
            "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\MyApp]\n"
            "\"DisplayName\"=\"My Application 2.0\"\n"
            "\"UninstallString\"=\"probe.exe exit=3\"\n\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce]\n"
            "\"Clean\"=\"probe.exe once\"\n");
  ASSERT_EQ(tool({"reg", "import", root(), (temp_ / "app.reg").string()}).exitStatus, 0);
  ASSERT_EQ(tool({"ini", "set", root(), "WIN.INI", "Mine", "Key", "value"}).exitStatus, 0);
  const std::map<std::string, std::string> plain, plan{{"VANDREL_PLAN", "1"}};
  struct Case {
    std::string program;
    std::vector<std::string> args;
    const std::map<std::string, std::string>& env;
  };
  const Case cases[] = {
      {"vandrel-machine", {"programs", root()}, plain},
      {"vandrel-machine", {"reg", "export", root(), "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion"}, plain},
      {"vandrel-machine", {"ini", "get", root(), "WIN.INI", "Mine", "Key"}, plain},
      {"vandrel-machine", {"ini", "int", root(), "WIN.INI", "Mine", "Other", "7"}, plain},
      {"vandrel-machine", {"path", root(), "C:\\WINDOWS\\WIN.INI"}, plain},
      {"vandrel-machine", {"uninstall", root(), "MyApp"}, plan},
      {"vandrel-machine", {"boot", root()}, plan},
      {"vandrel-machine", {"ini", "set", root(), "WIN.INI", "Mine", "Key", "planned"}, plan},
      // The uninstaller's plan: no installed script is named, it says so and ends.
      {"peskin32", {}, std::map<std::string, std::string>{{"VANDREL_PLAN", "1"}, {"VANDREL_MACHINE", root()}}},
  };
  const std::map<std::string, std::string> before = snapshot(temp_ / "m");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program + " " + (c.args.empty() ? "" : c.args[0]));
    RunResult writable = test::runProgram(c.program, c.args, c.env);
    std::optional<RunResult> readOnly = runOnReadOnlyMachine(c.program, temp_ / "m", c.args, c.env);
    if (!readOnly) GTEST_SKIP() << "no read-only view of a folder here (bubblewrap is needed as root)";
    EXPECT_EQ(readOnly->exitStatus, writable.exitStatus) << readOnly->err;
    EXPECT_EQ(readOnly->out, writable.out);
    EXPECT_EQ(readOnly->err, writable.err);
  }
  EXPECT_EQ(snapshot(temp_ / "m"), before);
}

TEST_F(machine_tool, VersionPrintsTranslationAndVersions) {
  for (bool pe64 : {false, true}) {
    platform::Bytes image = test::buildPeWithVersion(
        {2, 5, 0, 17}, {2, 5, 0, 0}, 0x0409, 0x04B0,
        {{"FileVersion", "2.50.017"}, {"ProductVersion", "2.5 \u2019\u03b2"}}, pe64);
    writeFile(host("WINDOWS/SYSTEM/Comp.dll"), std::string(image.begin(), image.end()));
    RunResult r = tool({"version", root(), "c:\\windows\\system\\COMP.DLL"});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    // Shown in UTF-8; "\u03b2" has no place in the code page that VerQueryValueA gives.
    EXPECT_EQ(r.out,
              "Translation=040904b0\nFileVersion=2.50.017\nProductVersion=2.5 \xe2\x80\x99?\n");
  }
  EXPECT_EQ(tool({"version", root(), "C:\\WINDOWS\\missing.dll"}).exitStatus, 1);
}

TEST_F(machine_tool, UsageErrorsAndFailuresHaveTheirExitStatus) {
  EXPECT_EQ(tool({}).exitStatus, 2);
  EXPECT_EQ(tool({"frobnicate"}).exitStatus, 2);
  EXPECT_EQ(tool({"init", (temp_ / "x").string(), "--preset", "win31"}).exitStatus, 2);
  EXPECT_EQ(tool({"ini", "int", root(), "a.ini", "S", "K", "notanumber"}).exitStatus, 2);
  EXPECT_EQ(tool({"ini", "get", root(), "a.ini", "S"}).exitStatus, 2);
  RunResult again = tool({"init", root()});
  EXPECT_EQ(again.exitStatus, 1);
  EXPECT_NE(again.err.find("already holds a machine"), std::string::npos);
  RunResult missing = tool({"programs", (temp_ / "none").string()});
  EXPECT_EQ(missing.exitStatus, 1);
  EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1);
  writeFile(temp_ / "bad.reg", "not a registry file\n");
  EXPECT_EQ(tool({"reg", "import", root(), (temp_ / "bad.reg").string()}).exitStatus, 1);
  // Files that cannot be read whole: one line naming the file and the reason.
  fs::create_directory(temp_ / "folder.reg");
  for (const auto& [file, reason] : {std::pair{(temp_ / "folder.reg").string(), "is a folder, not a file"},
                                     std::pair{std::string("/dev/zero"), "is larger than 8 MiB"}}) {
    RunResult unread = tool({"reg", "import", root(), file});
    EXPECT_EQ(unread.exitStatus, 1) << file;
    EXPECT_EQ(unread.err, "vandrel-machine: the file " + file + " " + reason + "\n");
  }
  RunResult noVersion = tool({"version", root(), "C:\\WINDOWS\\WIN.INI"});
  EXPECT_EQ(noVersion.exitStatus, 1);
  EXPECT_EQ(noVersion.out, "");
}

}  // namespace
}  // namespace vandrel
