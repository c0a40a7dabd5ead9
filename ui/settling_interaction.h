// The interaction of a program that works on files in batches: before anything that waits
// on the user, what the batch holds is ended, so that no other program waits on an open
// question, and the profile files read in one look are looked at again after the wait, so
// that a change another program made meanwhile is seen.
#pragma once

#include "platform/file_system.h"
#include "platform/profile.h"
#include "ui/interaction.h"

namespace vandrel::ui {

class SettlingInteraction : public Interaction {
 public:
  SettlingInteraction(Interaction& inner, platform::FileSystem& files,
                      platform::Profile* profile = nullptr)
      : inner_(inner), files_(files), profile_(profile) {}

  Answer message(const Message& message) override {
    settle();
    return inner_.message(message);
  }
  PageResult page(const Page& page) override {
    settle();
    return inner_.page(page);
  }
  std::optional<std::string> folder(const FolderPrompt& prompt) override {
    settle();
    return inner_.folder(prompt);
  }
  std::optional<int> choose(const Choice& choice) override {
    settle();
    return inner_.choose(choice);
  }
  void diskMessage(const DiskMessage& message) override { inner_.diskMessage(message); }
  void closing(const Closing& closing) override {
    settle();
    inner_.closing(closing);
  }
  void beep() override { inner_.beep(); }
  void progress(const Progress& progress) override { inner_.progress(progress); }
  bool cancelPressed() override { return inner_.cancelPressed(); }
  void endProgress() override { inner_.endProgress(); }
  bool answeredByDefault() const override { return inner_.answeredByDefault(); }

 private:
  void settle() {
    files_.settleBatch();
    if (profile_) profile_->settleLooks();
  }

  Interaction& inner_;
  platform::FileSystem& files_;
  platform::Profile* profile_;
};

}  // namespace vandrel::ui
