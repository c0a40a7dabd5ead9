// The copy-progress dialog and the disk-message window as models over the interaction port.
#pragma once

#include <functional>
#include <string>

#include "script/string_table.h"
#include "ui/interaction.h"

namespace vandrel::platform {
class FileSystem;
}

namespace vandrel::setup {

class SetupDialogs;

// The modeless "File copy in progress..." dialog: three text lines (the "Copying" and "to"
// labels are shown only beside a non-empty line), a percentage bar and a Cancel button. The
// cancel flag is set once the user has pressed Cancel and confirmed it.
class CopyProgress {
 public:
  explicit CopyProgress(SetupDialogs& dialogs);  // shown at once, at 0 percent
  ~CopyProgress();
  CopyProgress(const CopyProgress&) = delete;
  CopyProgress& operator=(const CopyProgress&) = delete;

  void setCopyTexts(const std::string& source, const std::string& middle,
                    const std::string& destination);
  // The middle line alone, the other lines and their labels hidden.
  void setStatus(const std::string& middle) { setCopyTexts("", middle, ""); }
  // Redraws only when the whole percentage changes.
  void setPercent(int percent);
  int percent() const { return model_.percent; }

  // Lets pending input through between units of work: a Cancel press asks the copying
  // variant of the cancel confirmation, and Yes sets the cancel flag.
  void pump(int passes = 20);
  bool cancelled() const { return cancelled_; }
  void setCancelled() { cancelled_ = true; }
  // Called when Cancel was pressed, before the question that confirms it: the copies still
  // under way are reported first (and may end the run themselves, so that nothing is asked).
  void setBeforeQuestion(std::function<void()> settle) { beforeQuestion_ = std::move(settle); }

  void close();
  bool isOpen() const { return open_; }

 private:
  void show();

  SetupDialogs& dialogs_;
  ui::Progress model_;
  bool cancelled_ = false;
  bool open_ = true;
  std::function<void()> beforeQuestion_;
};

// The "Messages" window that shows the text file of a disk when copying reaches it.
class DiskMessageWindow {
 public:
  DiskMessageWindow(ui::Interaction& ui, platform::FileSystem& files,
                    const script::StringTable& strings)
      : ui_(ui), files_(files), strings_(strings) {}
  // Reads the whole file and shows it; false (and nothing shown) when it cannot be read.
  bool showTextFile(const std::string& path, int disk);
  void hide() { visible_ = false; }
  bool visible() const { return visible_; }

 private:
  ui::Interaction& ui_;
  platform::FileSystem& files_;
  const script::StringTable& strings_;
  bool visible_ = false;
};

// A whole text file read in blocks of 9999 bytes; a zero byte ends the text of its block.
// False when the file cannot be opened. Files beyond maxBytes are read up to that size.
bool readTextFile(platform::FileSystem& files, const std::string& path, std::string& text,
                  std::size_t maxBytes = 1 << 20);

}  // namespace vandrel::setup
