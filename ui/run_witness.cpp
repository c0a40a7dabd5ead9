// The witness of a run and the failure line made from what it saw.
#include "ui/run_witness.h"

#include "platform/code_page.h"
#include "platform/exit_statuses.h"
#include "ui/dialog_text.h"

namespace vandrel::ui {

namespace {

// A dialog's text on one line: line breaks become blanks, runs of blanks one.
std::string oneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    char shown = c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
    if (shown == ' ' && (line.empty() || line.back() == ' ')) continue;
    line += shown;
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

}  // namespace

Answer RunWitness::message(const Message& message) {
  Answer answer = inner_->message(message);
  if (isQuestion(message)) {
    lastQuestion_ = SeenQuestion{platform::cp1252ToUtf8(oneLine(message.text)), answer,
                                 inner_->answeredByDefault()};
  }
  return answer;
}

PageResult RunWitness::page(const Page& page) {
  PageResult result = inner_->page(page);
  if (result.action == PageResult::Action::Cancel) cancelledPage_ = page.id;
  return result;
}

std::optional<std::string> RunWitness::folder(const FolderPrompt& prompt) {
  std::optional<std::string> answer = inner_->folder(prompt);
  if (!answer) cancelledFolder_ = platform::cp1252ToUtf8(oneLine(prompt.text));
  return answer;
}

bool RunWitness::cancelPressed() {
  bool pressed = inner_->cancelPressed();
  if (pressed) progressCancelled_ = true;
  return pressed;
}

FailureFacts witnessedFacts(const RunWitness& witness, std::string cause) {
  FailureFacts facts;
  if (cause.empty() && !witness.cancelledPage().empty()) {
    cause = "Cancel was pressed on the wizard's page \"" + witness.cancelledPage() + "\"";
  }
  if (cause.empty() && !witness.cancelledFolderPrompt().empty()) {
    cause = "the folder prompt \"" + witness.cancelledFolderPrompt() + "\" was given no folder";
  }
  if (cause.empty() && witness.progressCancelled()) cause = "Cancel was pressed while copying";
  facts.cause = std::move(cause);
  if (witness.lastQuestion() && witness.lastQuestion()->byDefault) {
    facts.decidingQuestion = witness.lastQuestion();
  }
  return facts;
}

std::string failureLine(const std::string& program, const std::string& key, int status,
                        const FailureFacts& facts) {
  const platform::ExitStatus* entry = platform::exitStatusOf(key, status);
  std::string line = program + ": exit status " + std::to_string(status) + ": " +
                     (entry ? entry->happened : "the run failed");
  if (!facts.cause.empty()) line += ": " + facts.cause;
  if (facts.decidingQuestion) {
    line += " (the question \"" + facts.decidingQuestion->text + "\" was answered " +
            answerName(facts.decidingQuestion->answer) + " by default)";
  }
  line += ".";
  if (entry && *entry->toDo) line += " To do: " + std::string(entry->toDo) + ".";
  return line;
}

}  // namespace vandrel::ui
