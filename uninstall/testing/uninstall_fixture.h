// Test fixture of the uninstaller: a fresh emulated machine with an installation folder
// C:\App, ready for one run, and the test interaction port.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/emulated/machine_root.h"
#include "platform/machine.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/temp_dir.h"
#include "uninstall/strings/uninstall_strings.h"
#include "uninstall/uninstall_app.h"

namespace vandrel::uninstall::testing {

inline constexpr const char* kSharedDlls = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

class UninstallFixture {
 public:
  explicit UninstallFixture(platform::emulated::Preset preset = platform::emulated::Preset::Win98) {
    platform::emulated::initMachineRoot(dir_.path() / "machine", preset, "user");
    machine_ = platform::emulated::openMachine(dir_.path() / "machine", {});
    app_ = std::make_unique<UninstallApp>(*machine_, ui, uninstallStrings());
    machine_->files().createDirectory("C:\\App");
  }

  vandrel::test::FakeInteraction ui;
  // A new application object that writes its action log to log (before the run).
  void logTo(ui::ActionLog& log) {
    app_ = std::make_unique<UninstallApp>(*machine_, ui, uninstallStrings(), &log);
  }
  platform::Machine& machine() { return *machine_; }
  UninstallApp& app() { return *app_; }
  const std::filesystem::path& root() const { return dir_.path(); }

  // Gets a removal ready for its steps: folders read, C:\App installed; its steps count
  // into tally.
  Removal& prepared() {
    app_->readFolders();
    app_->setInstallFolder("C:\\App");
    removal_.emplace(app_->removal(tally));
    return *removal_;
  }
  RemovalTally tally;
  // Ends the removal made by prepared(): what it kept open is closed.
  void endRemoval() { removal_.reset(); }

  // The installed script C:\App\Script.vrx; lines given with "\n" are written with CR LF.
  void script(const std::string& text) {
    std::string crlf;
    for (char c : text) {
      if (c == '\n') crlf += '\r';
      crlf += c;
    }
    put("C:\\App\\Script.vrx", crlf);
  }

  void put(const std::string& windowsPath, const std::string& content = "x") {
    std::filesystem::path host = *machine_->files().hostPath(windowsPath);
    std::filesystem::create_directories(host.parent_path());
    vandrel::test::writeFile(host, content);
  }
  void folder(const std::string& windowsPath) {
    std::filesystem::create_directories(*machine_->files().hostPath(windowsPath));
  }
  bool exists(const std::string& windowsPath) {
    return machine_->files().status(windowsPath).has_value();
  }

  // Shared-usage counts under HKLM\...\SharedDLLs.
  void setCount(const std::string& path, std::uint32_t count) {
    platform::HKey key = 0;
    machine_->registry().createKey(platform::hkey::LocalMachine, kSharedDlls, key);
    machine_->registry().setDword(key, path, count);
    machine_->registry().closeKey(key);
  }
  std::optional<std::uint32_t> count(const std::string& path) {
    platform::HKey key = 0;
    if (machine_->registry().openKey(platform::hkey::LocalMachine, kSharedDlls, key) != 0) return {};
    std::uint32_t value = 0;
    long rc = machine_->registry().queryDword(key, path, value);
    machine_->registry().closeKey(key);
    if (rc != 0) return {};
    return value;
  }

  // Registry strings: set (creating the key) and read back.
  void setString(platform::HKey root, const std::string& subKey, const std::string& name,
                 const std::string& value) {
    platform::HKey key = 0;
    machine_->registry().createKey(root, subKey, key);
    machine_->registry().setString(key, name, value);
    machine_->registry().closeKey(key);
  }
  bool hasKey(platform::HKey root, const std::string& subKey) {
    platform::HKey key = 0;
    if (machine_->registry().openKey(root, subKey, key) != 0) return false;
    machine_->registry().closeKey(key);
    return true;
  }
  bool hasValue(platform::HKey root, const std::string& subKey, const std::string& name) {
    platform::HKey key = 0;
    if (machine_->registry().openKey(root, subKey, key) != 0) return false;
    std::string value;
    long rc = machine_->registry().queryString(key, name, value);
    machine_->registry().closeKey(key);
    return rc == 0;
  }

 private:
  vandrel::test::TempDir dir_;
  std::unique_ptr<platform::Machine> machine_;
  std::unique_ptr<UninstallApp> app_;
  std::optional<Removal> removal_;
};

}  // namespace vandrel::uninstall::testing
