// Test fixture of the copy steps: a fresh emulated machine, the test interaction port, a
// setup application with its state filled as the wizard leaves it, and file helpers.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/emulated/machine_root.h"
#include "setup/setup_app.h"
#include "setup/strings/setup_strings.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/temp_dir.h"

namespace vandrel::setup::testing {

class CopyFixture : public ::testing::Test {
 protected:
  explicit CopyFixture(platform::emulated::Preset preset = platform::emulated::Preset::Win98) {
    // The tests queue one answer per message shown, in order.
    ui_.answersForEveryMessage = true;
    platform::emulated::initMachineRoot(root_.path(), preset, "ann");
    machine_ = platform::emulated::openMachine(root_.path(), {});
    app_ = std::make_unique<SetupApp>(*machine_, ui_, setupStrings());
    SetupState& s = app_->state();
    s.windowsFolder = machine_->system().windowsDirectory();
    s.engineFolder = s.windowsFolder + "\\";
    s.appName = "Tool";
    s.sourceFolder = "C:\\Pkg\\Disk1\\";
    s.installFolder = "C:\\App";
    s.platform = preset == platform::emulated::Preset::Win98 ||
                         preset == platform::emulated::Preset::Win95
                     ? 3
                     : 2;
    s.userName = "Ann";
    s.company = "Co";
    s.installDate = "2024/05/01";
    s.programsFolder = machine_->shell().specialFolder(2).value_or("");
    s.startupFolder = machine_->shell().specialFolder(7).value_or("");
    s.startMenuFolder = machine_->shell().specialFolder(11).value_or("");
    s.desktopFolder = machine_->shell().specialFolder(16).value_or("");
    machine_->files().createDirectory(s.installFolder);
    app_->script().setPath(s.engineFolder + "Script.vrx");
  }

  SetupApp& app() { return *app_; }
  platform::Machine& machine() { return *machine_; }
  platform::FileSystem& files() { return machine_->files(); }

  // Writes a file, creating its folders.
  void put(const std::string& path, const std::string& content) {
    for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
      files().createDirectory(path.substr(0, at));
    }
    auto file = files().create(path);
    ASSERT_TRUE(file) << path;
    ASSERT_EQ(file->write(content.data(), content.size()), std::int64_t(content.size())) << path;
  }
  void put(const std::string& path, const platform::Bytes& content) {
    put(path, std::string(content.begin(), content.end()));
  }
  std::optional<std::string> get(const std::string& path) {
    auto file = files().open(path, platform::OpenMode::Read);
    if (!file) return std::nullopt;
    std::string text;
    char buffer[4096];
    for (std::int64_t got; (got = file->read(buffer, sizeof buffer)) > 0;) text.append(buffer, got);
    return text;
  }
  bool exists(const std::string& path) { return files().status(path).has_value(); }
  // The machine's folder, for a process that opens the machine for itself.
  const std::filesystem::path& machineRoot() const { return root_.path(); }

  // The install script in the engine folder; lines joined with CR LF.
  void writeScript(const std::string& text) { put(app_->state().engineFolder + "Script.vrx", text); }
  // A value of the installed script (or of the script the app reads now).
  std::string scriptValue(const std::string& section, const std::string& key) {
    return machine_->profile().getString(app_->script().path(), section, key, "", 4096);
  }

  test::FakeInteraction ui_;

 private:
  test::TempDir root_;
  std::unique_ptr<platform::Machine> machine_;
  std::unique_ptr<SetupApp> app_;
};

}  // namespace vandrel::setup::testing
