// The transcript: a decorator over any backend that appends every dialog shown to a file,
// one JSON object per line.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "ui/interaction.h"
#include "ui/json_line.h"

namespace vandrel::ui {

// Each line is appended and flushed while the dialog is still on screen, so programs started
// meanwhile see it: dialogs that ask something are written as soon as the answer is known,
// the others before the wrapped backend shows them. The file is opened for each line in
// append mode, so the programs of one run (the starter, the engine, the uninstaller) can
// write one after another into the same file. Progress windows and beeps are not recorded.
class TranscriptRecorder : public Interaction {
 public:
  TranscriptRecorder(std::unique_ptr<Interaction> inner, Program program, std::string path,
                     std::FILE* err = stderr);

  Answer message(const Message& message) override;
  PageResult page(const Page& page) override;
  std::optional<std::string> folder(const FolderPrompt& prompt) override;
  std::optional<int> choose(const Choice& choice) override;
  void diskMessage(const DiskMessage& message) override;
  void closing(const Closing& closing) override;
  void beep() override { inner_->beep(); }

  void progress(const Progress& progress) override { inner_->progress(progress); }
  bool cancelPressed() override { return inner_->cancelPressed(); }
  void endProgress() override { inner_->endProgress(); }
  bool answeredByDefault() const override { return inner_->answeredByDefault(); }

 private:
  JsonLine start(const char* kind, const std::string& caption, const std::string& text,
                       const char* buttons, const char* icon) const;
  void write(const JsonLine& line);

  std::unique_ptr<Interaction> inner_;
  Program program_;
  std::string path_;
  std::FILE* err_;
  bool failed_ = false;
};

}  // namespace vandrel::ui
