// The unattended backend: no interaction at all; answers come from an answers file and every
// dialog without an answer takes its default. Stop and warning messages are also printed on
// standard error, so an unattended run says why it ended.
#pragma once

#include <cstdio>
#include <string>

#include "ui/answers.h"
#include "ui/interaction.h"
#include "ui/page_repeat_guard.h"

namespace vandrel::ui {

class ScriptedInteraction : public Interaction {
 public:
  // programName prefixes the lines on err ("tamsin32: ...").
  explicit ScriptedInteraction(Answers answers = Answers(), std::FILE* err = stderr,
                               std::string programName = "vandrel");

  Answer message(const Message& message) override;
  PageResult page(const Page& page) override;
  std::optional<std::string> folder(const FolderPrompt& prompt) override;
  std::optional<int> choose(const Choice& choice) override;
  void diskMessage(const DiskMessage&) override {}
  void closing(const Closing&) override {}
  void beep() override {}

  void progress(const Progress& progress) override;
  bool cancelPressed() override;
  void endProgress() override {}
  bool answeredByDefault() const override { return answeredByDefault_; }

  // A window that asked page() was closed (windows that stay open over refused answers, as
  // the builder's dialogs do, tell it so): the repeat guard starts again.
  void windowClosed() { guard_.windowClosed(); }

 private:
  void fillFields(std::vector<Field>& fields) const;
  // The line on err for a stop or warning message, or a message with a detail; answer is the
  // question's answer taken ("" for a message).
  void report(const Message& message, const std::string& answer) const;
  Answer answerFor(const Message& question);

  Answers answers_;
  std::FILE* err_;
  std::string programName_;
  PageRepeatGuard guard_;
  int questionsAsked_ = 0;
  int foldersAsked_ = 0;
  int choicesAsked_ = 0;
  // [Folders] Destination: Change was pressed on the destination page (once), and the picker
  // it opens is answered next.
  bool destinationChanged_ = false;
  bool destinationPickPending_ = false;
  std::string cancelOn_;
  bool cancelPending_ = false;
  bool answeredByDefault_ = false;
};

// The folder a file dialog returns for an opened folder: the folder (one trailing backslash
// dropped), a backslash and the dummy file name.
std::string dummyFilePath(const std::string& folder, const std::string& dummyName);

}  // namespace vandrel::ui
