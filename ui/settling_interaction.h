// The interaction of a program that works on files in batches: before anything that waits
// on the user, what the batch holds is ended, so that no other program waits on an open
// question.
#pragma once

#include "platform/file_system.h"
#include "ui/interaction.h"

namespace vandrel::ui {

class SettlingInteraction : public Interaction {
 public:
  SettlingInteraction(Interaction& inner, platform::FileSystem& files) : inner_(inner), files_(files) {}

  Answer message(const Message& message) override {
    files_.settleBatch();
    return inner_.message(message);
  }
  PageResult page(const Page& page) override {
    files_.settleBatch();
    return inner_.page(page);
  }
  std::optional<std::string> folder(const FolderPrompt& prompt) override {
    files_.settleBatch();
    return inner_.folder(prompt);
  }
  std::optional<int> choose(const Choice& choice) override {
    files_.settleBatch();
    return inner_.choose(choice);
  }
  void diskMessage(const DiskMessage& message) override { inner_.diskMessage(message); }
  void closing(const Closing& closing) override {
    files_.settleBatch();
    inner_.closing(closing);
  }
  void beep() override { inner_.beep(); }
  void progress(const Progress& progress) override { inner_.progress(progress); }
  bool cancelPressed() override { return inner_.cancelPressed(); }
  void endProgress() override { inner_.endProgress(); }

 private:
  Interaction& inner_;
  platform::FileSystem& files_;
};

}  // namespace vandrel::ui
