// An interaction port for benchmarks and tests that run unattended: every question is
// answered Yes, nothing is shown, prompts and choices are cancelled.
#pragma once

#include "ui/interaction.h"

namespace vandrel::test {

class QuietInteraction : public ui::Interaction {
 public:
  ui::Answer message(const ui::Message& m) override {
    return m.buttons == ui::Buttons::OK ? ui::Answer::OK : ui::Answer::Yes;
  }
  ui::PageResult page(const ui::Page&) override { return {}; }
  std::optional<std::string> folder(const ui::FolderPrompt&) override { return std::nullopt; }
  std::optional<int> choose(const ui::Choice&) override { return std::nullopt; }
  void diskMessage(const ui::DiskMessage&) override {}
  void closing(const ui::Closing&) override {}
  void beep() override {}
  void progress(const ui::Progress&) override {}
  bool cancelPressed() override { return false; }
  void endProgress() override {}
};

}  // namespace vandrel::test
