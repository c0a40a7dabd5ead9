// The terminal backend: messages, pages, folder prompts and choices as text screens on
// standard output, answered by typed lines; progress as a bar on standard error.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "ui/console_progress.h"
#include "ui/interaction.h"
#include "ui/page_repeat_guard.h"

namespace vandrel::ui {

// Without a person at the keyboard (standard input is no terminal: a pipe, a closed input,
// CI) the backend never waits and answers as an unattended run without answers does: every
// question takes its default button, every page its forward button (Finish, else Next),
// every list choice its initial item, and every folder prompt is cancelled, since an
// unattended run cannot know where another disk lies and retrying the same folder would
// only bring the prompt back. Each dialog is then logged as one line on standard error, so
// that standard output stays the program's own.
class ConsoleInteraction : public Interaction {
 public:
  ConsoleInteraction(std::FILE* in, std::FILE* out, std::FILE* err, bool interactive,
                     bool errIsTerminal);
  // Standard input, output and error; interactive when standard input is a terminal.
  static std::unique_ptr<ConsoleInteraction> onTerminal();

  Answer message(const Message& message) override;
  PageResult page(const Page& page) override;
  std::optional<std::string> folder(const FolderPrompt& prompt) override;
  std::optional<int> choose(const Choice& choice) override;
  void diskMessage(const DiskMessage& message) override;
  void closing(const Closing& closing) override;
  void beep() override;

  void progress(const Progress& progress) override;
  bool cancelPressed() override;
  void endProgress() override;
  bool answeredByDefault() const override { return answeredByDefault_; }

 private:
  // One typed line without its line end; nullopt at the end of input, after which the
  // backend answers as without a terminal.
  std::optional<std::string> readLine(const std::string& prompt);
  void heading(const std::string& caption);
  void showPage(const Page& page, const std::vector<Field>& fields);
  bool editField(Field& field);
  std::optional<PageResult::Action> pageCommand(const Page& page, const std::string& typed,
                                                int* pageButton) const;
  void log(const std::string& kind, const std::string& caption, const std::string& text,
           const std::string& answer);

  std::FILE* in_;
  std::FILE* out_;
  std::FILE* err_;
  bool interactive_;
  bool answeredByDefault_ = false;
  ConsoleProgress bar_;
  PageRepeatGuard guard_;
  bool progressCancellable_ = false;
};

}  // namespace vandrel::ui
