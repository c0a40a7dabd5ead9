// Record mode: a decorator over an interactive backend that writes what the user answered as
// an answers file, so the same run can be replayed unattended.
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/interaction.h"

namespace vandrel::ui {

// After every answer the whole file is written again, so it is complete up to the last
// dialog even when the program ends abruptly. Recorded: each page's fields as [Wizard] keys
// (the last time the page was left), the page where Cancel was pressed, each question's
// answer in order, each folder prompt's folder and each list choice, and the progress line
// at which Cancel was pressed. A replay goes straight forward through the pages: a run in
// which the user went Back or pressed a page button replays to the same end, not through
// the same detours.
class AnswersRecorder : public Interaction {
 public:
  AnswersRecorder(std::unique_ptr<Interaction> inner, Program program, std::string path,
                  std::FILE* err = stderr);

  Answer message(const Message& message) override;
  PageResult page(const Page& page) override;
  std::optional<std::string> folder(const FolderPrompt& prompt) override;
  std::optional<int> choose(const Choice& choice) override;
  void diskMessage(const DiskMessage& message) override { inner_->diskMessage(message); }
  void closing(const Closing& closing) override { inner_->closing(closing); }
  void beep() override { inner_->beep(); }

  void progress(const Progress& progress) override;
  bool cancelPressed() override;
  void endProgress() override { inner_->endProgress(); }
  bool answeredByDefault() const override { return inner_->answeredByDefault(); }

  // The answers file as recorded so far.
  std::string text() const;

 private:
  void save();

  std::unique_ptr<Interaction> inner_;
  Program program_;
  std::string path_;
  std::FILE* err_;
  bool failed_ = false;
  std::vector<std::string> wizardKeys_;  // in the order first seen
  std::map<std::string, std::string> wizard_;
  std::string cancelPage_;
  std::vector<std::string> questions_, folders_, choices_;
  std::string lastProgressLine_, cancelOn_;
};

}  // namespace vandrel::ui
