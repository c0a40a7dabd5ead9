// The hostile corpus: every folder below tests/hostile that holds a case.ini is a package, an
// installed script or a machine prepared to reach outside the machine (paths climbing out,
// host paths, devices, links planted inside pointing out, programs started by the package). It
// runs through the scenario runner (tests/e2e/README.md); besides the case's own checks, every
// case must leave everything outside the machine root as it was (a canary tree beside the
// machine, the package, the host's temporary folder) and every step must end with a message,
// never a crash or a hang; and no program may call the stand-in host service listening on a
// Unix socket in the canary tree. A case with [Case] Confined=1 starts programs that only their
// confinement keeps inside the machine: it is skipped where programs cannot be confined.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <string>

#include "platform/emulated/confinement.h"
#include "tests/e2e/scenario.h"

namespace vandrel::test {
namespace {

// The prefix of every name a case aims at in the host's temporary folder.
const char* const kAimedName = "vandrel-hostile";

class Hostile : public Scenario {
 protected:
  fs::path corpus() const override { return sourcePath() / "tests" / "hostile"; }

  // %OUTSIDE%: the canary tree (a host path); %OUTSIDEWIN%: the same as the machine names it
  // (Z:\...); %UP%: enough "..\" to climb from any folder of the machine to the host's root;
  // %UPOUTSIDE%: the canary tree reached that way; %TMP%: the host's temporary folder.
  std::string fill(std::string text) const override {
    std::string up;
    for (int i = 0; i < 24; ++i) up += "..\\";
    std::string outside = this->outside().string(), relativeOutside = outside.substr(1);
    for (char& c : relativeOutside) c = c == '/' ? '\\' : c;
    text = replaceAll(text, "%OUTSIDEWIN%", windowsForm(this->outside()));
    text = replaceAll(text, "%UPOUTSIDE%", up + relativeOutside);
    text = replaceAll(text, "%OUTSIDE%", outside);
    text = replaceAll(text, "%UP%", up);
    return replaceAll(text, "%TMP%", fs::temp_directory_path().string());
  }

  fs::path outside() const { return dir_.path() / "outside"; }

  void SetUp() override {
    std::string why;
    std::string text = readFile(corpus() / GetParam().folder / "case.ini");
    if (CaseFile::parse(text).value("Case", "Confined") == "1" && !platform::emulated::canConfine(why)) {
      GTEST_SKIP() << "the programs this case starts cannot be confined here: " << why;
    }
    writeFile(outside() / "victim.txt", "canary\n");
    writeFile(outside() / "victim.exe", "canary program\n");
    writeFile(outside() / "folder" / "inner.txt", "inner canary\n");
    writeFile(outside() / "folder" / "deep" / "shared.dll", "shared canary\n");
    writeFile(outside() / "Script.vrx", "[Settings]\nAppName=Canary\n");
    listenAsHostService();
    tmpBefore_ = aimedInTmp();
    Scenario::SetUp();
    outsideBefore_ = outsideState();
  }

  void TearDown() override {
    if (service_ >= 0) ::close(service_);
    Scenario::TearDown();
  }

  // A stand-in host service: a Unix socket listening in the canary tree (service.sock), which
  // nothing in the machine may reach. It never accepts; a call waits in its queue.
  void listenAsHostService() {
    service_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    ASSERT_GE(service_, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = (outside() / "service.sock").string();
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.c_str(), path.size());
    ASSERT_EQ(::bind(service_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(service_, 16), 0);
  }

  // Whether a program called the stand-in host service.
  bool serviceCalled() const {
    int call = ::accept(service_, nullptr, nullptr);
    if (call < 0) return false;
    ::close(call);
    return true;
  }

  // Each step ends by itself (not killed, not stopped by a timeout) and says something: a
  // dialog in the transcript or a line on standard error.
  RunResult run(const std::string& program, const std::vector<std::string>& arguments) override {
    RunResult result = Scenario::run(program, arguments);
    EXPECT_GE(result.exitStatus, 0) << program << " did not end\n" << result.err;
    EXPECT_LT(result.exitStatus, 128) << program << " was killed\n" << result.err;
    EXPECT_TRUE(!result.err.empty() || !result.out.empty() || !transcript().empty())
        << program << " ended without a message";
    return result;
  }

  // Everything below the test's folder but the machine root and the run's records (the
  // transcript and the action log beside it): kind, permissions, link target, modification
  // time and content of each entry.
  std::map<std::string, std::string> outsideState() const {
    std::map<std::string, std::string> state;
    for (auto it = fs::recursive_directory_iterator(dir_.path()); it != fs::recursive_directory_iterator(); ++it) {
      fs::path relativePath = fs::relative(it->path(), dir_.path());
      std::string first = relativePath.begin()->string();
      if (first == "machine" || first.rfind("transcript.", 0) == 0) {
        if (it->is_directory() && !it->is_symlink()) it.disable_recursion_pending();
        continue;
      }
      state[relativePath.string()] = describe(it->path());
    }
    return state;
  }

  static std::string describe(const fs::path& path) {
    std::error_code ec;
    fs::file_status status = fs::symlink_status(path, ec);
    std::string text = std::to_string(int(status.type())) + " " + std::to_string(int(status.permissions()));
    if (fs::is_symlink(status)) return text + " -> " + fs::read_symlink(path, ec).string();
    if (!fs::is_regular_file(status)) return text;
    auto when = fs::last_write_time(path, ec).time_since_epoch().count();
    return text + " " + std::to_string(when) + " " + readFile(path);
  }

  // The entries of the host's temporary folder whose names the cases aim at.
  static std::map<std::string, std::string> aimedInTmp() {
    std::map<std::string, std::string> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path(), ec)) {
      std::string name = entry.path().filename().string();
      if (name.rfind(kAimedName, 0) == 0) found[name] = describe(entry.path());
    }
    return found;
  }

  std::map<std::string, std::string> tmpBefore_, outsideBefore_;
  int service_ = -1;
};

TEST_P(Hostile, NothingOutsideChanges) {
  runCase();
  std::map<std::string, std::string> after = outsideState();
  for (const auto& [path, was] : outsideBefore_) {
    auto now = after.find(path);
    if (now == after.end()) ADD_FAILURE() << "outside the machine: " << path << " was removed";
    else EXPECT_EQ(now->second, was) << "outside the machine: " << path << " was changed";
  }
  for (const auto& [path, now] : after) {
    EXPECT_TRUE(outsideBefore_.count(path)) << "outside the machine: " << path << " was made";
  }
  EXPECT_EQ(aimedInTmp(), tmpBefore_) << "the host's temporary folder changed";
  EXPECT_FALSE(serviceCalled()) << "outside the machine: a program called the host service " << outside() / "service.sock";
}

INSTANTIATE_TEST_SUITE_P(Cases, Hostile, ::testing::ValuesIn(caseNames(sourcePath() / "tests" / "hostile")),
                         caseTestName);

}  // namespace
}  // namespace vandrel::test
