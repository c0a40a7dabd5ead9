// A recording interaction for the setup's tests: every dialog is kept, questions take queued
// answers (else their default), pages take queued actions (else Next, or Finish where the
// page has no Next).
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/interaction.h"

namespace vandrel::setup::testing {

class FakeInteraction : public ui::Interaction {
 public:
  // One line per dialog, in order: "message:<text>", "page:<id>", "folder:<text>",
  // "closing:<code>", "beep".
  std::vector<std::string> events;
  std::vector<ui::Message> messages;
  std::vector<ui::Page> pages;
  std::vector<ui::FolderPrompt> folderPrompts;
  std::vector<ui::Closing> closings;
  int beeps = 0;

  std::deque<ui::Answer> answers;
  // Called for a page with no queued action: may change the fields and choose the action.
  std::deque<std::function<ui::PageResult(const ui::Page&)>> pageActions;
  std::deque<std::optional<std::string>> folders;

  static ui::PageResult press(const ui::Page& page, ui::PageResult::Action action) {
    ui::PageResult result;
    result.action = action;
    result.fields = page.fields;
    return result;
  }

  ui::Answer message(const ui::Message& message) override {
    events.push_back("message:" + message.text);
    messages.push_back(message);
    if (message.buttons == ui::Buttons::OK) return ui::Answer::OK;
    if (!answers.empty()) {
      ui::Answer answer = answers.front();
      answers.pop_front();
      return answer;
    }
    return message.buttons == ui::Buttons::OKCancel ? ui::Answer::OK : ui::Answer::Yes;
  }

  ui::PageResult page(const ui::Page& page) override {
    events.push_back("page:" + page.id);
    pages.push_back(page);
    if (!pageActions.empty()) {
      auto action = pageActions.front();
      pageActions.pop_front();
      return action(page);
    }
    return press(page, page.next.empty() ? ui::PageResult::Action::Finish
                                         : ui::PageResult::Action::Next);
  }

  std::optional<std::string> folder(const ui::FolderPrompt& prompt) override {
    events.push_back("folder:" + prompt.text);
    folderPrompts.push_back(prompt);
    if (folders.empty()) return std::nullopt;
    std::optional<std::string> answer = folders.front();
    folders.pop_front();
    return answer;
  }

  std::optional<int> choose(const ui::Choice&) override { return std::nullopt; }
  void diskMessage(const ui::DiskMessage& message) override {
    events.push_back("disk:" + std::to_string(message.disk));
  }
  void closing(const ui::Closing& closing) override {
    events.push_back("closing:" + std::to_string(closing.code.value_or(-1)));
    closings.push_back(closing);
  }
  void beep() override {
    events.push_back("beep");
    ++beeps;
  }
  void progress(const ui::Progress&) override {}
  bool cancelPressed() override { return false; }
  void endProgress() override {}
};

// A page action that sets text fields and presses a button.
inline std::function<ui::PageResult(const ui::Page&)> fill(
    std::vector<std::pair<std::string, std::string>> values,
    ui::PageResult::Action action = ui::PageResult::Action::Next) {
  return [values, action](const ui::Page& page) {
    ui::PageResult result = FakeInteraction::press(page, action);
    for (ui::Field& field : result.fields) {
      for (const auto& [name, value] : values) {
        if (field.name == name) field.value = value;
      }
    }
    return result;
  };
}

inline std::function<ui::PageResult(const ui::Page&)> pressOn(ui::PageResult::Action action,
                                                               int pageButton = -1) {
  return [action, pageButton](const ui::Page& page) {
    ui::PageResult result = FakeInteraction::press(page, action);
    result.pageButton = pageButton;
    return result;
  };
}

}  // namespace vandrel::setup::testing
