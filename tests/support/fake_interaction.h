// The interaction port of the tests: it records every dialog shown and answers from what the
// test queued, else with each dialog's default. One class serves every program's tests; the
// few behaviours that differ between them are settings.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/interaction.h"

namespace vandrel::test {

using PageAction = std::function<ui::PageResult(const ui::Page&)>;

class FakeInteraction : public ui::Interaction {
 public:
  // ---- What the test queues.
  // Answers of the questions (messages with more than an OK button), in order.
  std::deque<ui::Answer> answers;
  // When set, every message takes the next queued answer, plain OK messages too: a test that
  // checks the order of everything shown.
  bool answersForEveryMessage = false;
  // The answer of a question when none is queued; unset: OK where the buttons are OK/Cancel,
  // else Yes.
  std::optional<ui::Answer> defaultAnswer;
  // Pages; with none queued a page is left with Next (Finish where it has no Next).
  std::deque<PageAction> pageActions;
  // Folder prompts; with none queued (or nullopt) the prompt is cancelled.
  std::deque<std::optional<std::string>> folders;
  // When set, a queued folder names the folder only: the answer adds the prompt's dummy file
  // name, as a file dialog does.
  bool addDummyName = false;
  // List choices; with none queued the choice is cancelled.
  std::deque<std::optional<int>> choices;
  // Cancel is pressed in the progress window the first time a line shown contains cancelOn,
  // or once cancelAfterUpdates updates were shown.
  std::string cancelOn;
  int cancelAfterUpdates = -1;
  // Off: nothing below is kept (benchmarks, which show thousands of dialogs).
  bool recording = true;
  // Called with every message before it is answered: what another program does while the
  // user reads it.
  std::function<void(const ui::Message&)> whileShown;
  // Called with every progress update: what happens on the machine as the copy reaches a file.
  std::function<void(const ui::Progress&)> onProgress;

  // ---- What the test reads.
  // One line per dialog, in order: "message:<text>", "page:<id>", "folder:<text>",
  // "choose:<caption>", "disk:<n>", "closing" or "closing:<code>", "beep", and "end" when a
  // progress window closes. Tests may add their own lines.
  std::vector<std::string> events;
  std::vector<ui::Message> messages;
  std::vector<ui::Page> pages;
  std::vector<ui::FolderPrompt> folderPrompts;
  std::vector<ui::Choice> choicesShown;
  std::vector<ui::DiskMessage> diskMessages;
  std::vector<ui::Closing> closings;
  std::vector<ui::Progress> progresses;  // every progress update
  std::vector<int> percents;             // the percentages shown, repeats left out
  int beeps = 0;
  int progressEnds = 0;

  // The texts of all messages, and of the questions only, in order.
  std::vector<std::string> texts() const;
  std::vector<std::string> questions() const;
  // Every line of every progress update, in order.
  std::vector<std::string> progressLines() const;

  // The fields of a page as shown, with a button pressed.
  static ui::PageResult press(const ui::Page& page, ui::PageResult::Action action);

  ui::Answer message(const ui::Message& message) override;
  ui::PageResult page(const ui::Page& page) override;
  std::optional<std::string> folder(const ui::FolderPrompt& prompt) override;
  std::optional<int> choose(const ui::Choice& choice) override;
  void diskMessage(const ui::DiskMessage& message) override;
  void closing(const ui::Closing& closing) override;
  void beep() override;
  void progress(const ui::Progress& progress) override;
  bool cancelPressed() override;
  void endProgress() override;

 private:
  bool cancelPending_ = false;
};

// Page actions: press a button (and a page button by its index).
PageAction pressOn(ui::PageResult::Action action, int pageButton = -1);
// Set text fields by name, then press a button.
PageAction fill(std::vector<std::pair<std::string, std::string>> values,
                ui::PageResult::Action action = ui::PageResult::Action::Next);
// Set every check box of the page, then press a button.
PageAction tick(bool checked, ui::PageResult::Action action = ui::PageResult::Action::Next);

}  // namespace vandrel::test
