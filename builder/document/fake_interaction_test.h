// A scripted interaction for the document tests: answers questions from a queue and records
// every message shown.
#pragma once

#include <deque>
#include <vector>

#include "ui/interaction.h"

namespace vandrel::builder::testing {

class FakeInteraction : public ui::Interaction {
 public:
  std::deque<ui::Answer> answers;  // for questions; empty: Yes
  std::vector<ui::Message> shown;

  ui::Answer message(const ui::Message& m) override {
    shown.push_back(m);
    if (m.buttons == ui::Buttons::OK) return ui::Answer::OK;
    if (answers.empty()) return ui::Answer::Yes;
    ui::Answer a = answers.front();
    answers.pop_front();
    return a;
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

}  // namespace vandrel::builder::testing
