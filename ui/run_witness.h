// The witness of a run: a decorator over a program's interaction that remembers what decided
// how the run ended, so that a run ending with a non-zero exit status can say why on standard
// error (the failure line).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ui/interaction.h"

namespace vandrel::ui {

// A question as the witness saw it: its text on one line, the answer and whether no one gave
// that answer (the default button of an unattended run).
struct SeenQuestion {
  std::string text;
  Answer answer = Answer::OK;
  bool byDefault = false;
};

class RunWitness : public Interaction {
 public:
  explicit RunWitness(std::unique_ptr<Interaction> inner) : inner_(std::move(inner)) {}

  Answer message(const Message& message) override;
  PageResult page(const Page& page) override;
  std::optional<std::string> folder(const FolderPrompt& prompt) override;
  std::optional<int> choose(const Choice& choice) override { return inner_->choose(choice); }
  void diskMessage(const DiskMessage& message) override { inner_->diskMessage(message); }
  void closing(const Closing& closing) override { inner_->closing(closing); }
  void beep() override { inner_->beep(); }
  void progress(const Progress& progress) override { inner_->progress(progress); }
  bool cancelPressed() override;
  void endProgress() override { inner_->endProgress(); }
  bool answeredByDefault() const override { return inner_->answeredByDefault(); }

  // The last question asked, if any.
  const std::optional<SeenQuestion>& lastQuestion() const { return lastQuestion_; }
  // The id of the page on which Cancel was pressed last ("components"); empty: none.
  const std::string& cancelledPage() const { return cancelledPage_; }
  // The text of the last folder prompt that was cancelled; empty: none.
  const std::string& cancelledFolderPrompt() const { return cancelledFolder_; }
  // Cancel was pressed in a progress window.
  bool progressCancelled() const { return progressCancelled_; }

 private:
  std::unique_ptr<Interaction> inner_;
  std::optional<SeenQuestion> lastQuestion_;
  std::string cancelledPage_;
  std::string cancelledFolder_;
  bool progressCancelled_ = false;
};

// What a failing run's line says besides its exit status.
struct FailureFacts {
  std::string cause;  // what failed, naming the file, key or page ("" when unknown)
  // The question that ended the run; named when no one answered it ("(the question "X" was
  // answered No by default)").
  std::optional<SeenQuestion> decidingQuestion;
};

// The one line on standard error of a run that ends with a non-zero exit status, after the
// program's own messages: "<program>: exit status N: <what happened>[: <cause>][ (the question
// "..." was answered No by default)]. To do: <what to do>." The words come from the program's
// exit-status table (platform/exit_statuses.h); key names that table.
std::string failureLine(const std::string& program, const std::string& key, int status,
                        const FailureFacts& facts);

// The facts the witness holds: a page cancelled, a folder prompt cancelled or a progress
// window's Cancel as the cause when none is given, and the last question when no one answered
// it.
FailureFacts witnessedFacts(const RunWitness& witness, std::string cause = {});

}  // namespace vandrel::ui
