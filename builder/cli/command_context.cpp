// The context of a corvix subcommand: interaction port and machine, made when first needed.
#include <iostream>

#include "builder/cli/command.h"
#include "platform/emulated/machine_root.h"

namespace vandrel::builder::cli {

namespace {

// The unattended backend shows nothing: a command's stop messages then also go to standard
// error, so that a failed command says why.
class EchoStopMessages : public ui::Interaction {
 public:
  EchoStopMessages(std::unique_ptr<ui::Interaction> inner, std::ostream& err)
      : inner_(std::move(inner)), err_(err) {}
  ui::Answer message(const ui::Message& m) override {
    if (m.icon == ui::Icon::Stop) err_ << "corvix: " << m.text << "\n";
    return inner_->message(m);
  }
  ui::PageResult page(const ui::Page& p) override { return inner_->page(p); }
  std::optional<std::string> folder(const ui::FolderPrompt& p) override { return inner_->folder(p); }
  std::optional<int> choose(const ui::Choice& c) override { return inner_->choose(c); }
  void diskMessage(const ui::DiskMessage& m) override { inner_->diskMessage(m); }
  void closing(const ui::Closing& c) override { inner_->closing(c); }
  void beep() override { inner_->beep(); }
  void progress(const ui::Progress& p) override { inner_->progress(p); }
  bool cancelPressed() override { return inner_->cancelPressed(); }
  void endProgress() override { inner_->endProgress(); }

 private:
  std::unique_ptr<ui::Interaction> inner_;
  std::ostream& err_;
};

}  // namespace

CommandContext::CommandContext(std::ostream& o, std::ostream& e) : out(o), err(e) {}
CommandContext::~CommandContext() = default;

ui::Interaction& CommandContext::ui() {
  if (!ui_) {
    ui::InteractionSettings settings = ui::InteractionSettings::fromEnvironment();
    ui_ = ui::makeInteraction(ui::Program::Builder, settings);
    if (settings.backend == "scripted") ui_ = std::make_unique<EchoStopMessages>(std::move(ui_), err);
  }
  return *ui_;
}

platform::Machine* CommandContext::machine() {
  if (!machineTried_) {
    machineTried_ = true;
    platform::MachineOptions options;
    options.hostDriveWritable = true;
    try {
      machine_ = platform::openHostMachine(options);
    } catch (const std::exception& e) {
      err << "corvix: " << e.what() << "\n";
    }
  }
  return machine_.get();
}

std::optional<std::string> CommandContext::windowsPath(const std::filesystem::path& host) {
  platform::Machine* m = machine();
  if (!m) return std::nullopt;
  return m->files().windowsPath(std::filesystem::absolute(host));
}

std::optional<std::string> CommandContext::userName() {
  platform::Machine* m = machine();
  if (!m) return std::nullopt;
  return m->system().userName();
}

int fail(CommandContext& context, const std::string& text) {
  context.err << "corvix: " << text << "\n";
  return exit_status::Failed;
}

}  // namespace vandrel::builder::cli
