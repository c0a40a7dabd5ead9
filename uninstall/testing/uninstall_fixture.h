// Test fixtures of the uninstaller: a recording interaction port and a fresh emulated
// machine with an installation folder C:\App, ready for one run.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/emulated/machine_root.h"
#include "platform/machine.h"
#include "tests/support/temp_dir.h"
#include "ui/interaction.h"
#include "uninstall/strings/uninstall_strings.h"
#include "uninstall/uninstall_app.h"

namespace vandrel::uninstall::testing {

// Keeps every dialog; questions take queued answers, else their first button.
class RecordingUi : public ui::Interaction {
 public:
  std::vector<ui::Message> messages;
  std::vector<ui::Progress> progresses;
  std::vector<ui::Closing> closings;
  std::vector<std::string> events;  // "message", "progress", "closing", "end" in order
  std::deque<ui::Answer> answers;

  // The texts of the questions asked, in order.
  std::vector<std::string> questions() const {
    std::vector<std::string> texts;
    for (const ui::Message& m : messages) {
      if (m.buttons != ui::Buttons::OK) texts.push_back(m.text);
    }
    return texts;
  }

  ui::Answer message(const ui::Message& message) override {
    events.push_back("message");
    messages.push_back(message);
    if (message.buttons == ui::Buttons::OK) return ui::Answer::OK;
    if (answers.empty()) return ui::Answer::Yes;
    ui::Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  ui::PageResult page(const ui::Page&) override { return {}; }
  std::optional<std::string> folder(const ui::FolderPrompt&) override { return std::nullopt; }
  std::optional<int> choose(const ui::Choice&) override { return std::nullopt; }
  void diskMessage(const ui::DiskMessage&) override {}
  void closing(const ui::Closing& closing) override {
    events.push_back("closing");
    closings.push_back(closing);
  }
  void beep() override {}
  void progress(const ui::Progress& progress) override {
    events.push_back("progress");
    progresses.push_back(progress);
  }
  bool cancelPressed() override { return false; }
  void endProgress() override { events.push_back("end"); }
};

inline constexpr const char* kSharedDlls = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

class UninstallFixture {
 public:
  explicit UninstallFixture(platform::emulated::Preset preset = platform::emulated::Preset::Win98) {
    platform::emulated::initMachineRoot(dir_.path() / "machine", preset, "user");
    machine_ = platform::emulated::openMachine(dir_.path() / "machine", {});
    app_ = std::make_unique<UninstallApp>(*machine_, ui, uninstallStrings());
    machine_->files().createDirectory("C:\\App");
  }

  RecordingUi ui;
  platform::Machine& machine() { return *machine_; }
  UninstallApp& app() { return *app_; }
  const std::filesystem::path& root() const { return dir_.path(); }

  // Gets the application ready for a removal step: folders read, C:\App installed.
  UninstallApp& prepared() {
    app_->readFolders();
    app_->setInstallFolder("C:\\App");
    return *app_;
  }

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
};

}  // namespace vandrel::uninstall::testing
