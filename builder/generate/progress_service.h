// The builder's progress service: one progress display at a time, the cancel flag that long
// operations poll, and the file copy that reports its bytes to the display.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "ui/interaction.h"

namespace vandrel::builder {

// Interrupts of a command-line run (Ctrl+C, a termination request, a closed terminal): while a progress
// display is shown the first one is taken as a confirmed Cancel, so the operation ends the way
// Cancel ends it and cleans up after itself; at any other moment, or a second time, the
// program ends as it would without these handlers. Installed once by the program.
void installInterruptHandlers();

class ProgressService {
 public:
  ProgressService(ui::Interaction& ui, platform::FileSystem& files);

  // Shows the display with text (followed by "(ESC to Abort)" when escapeHint) and clears the
  // cancel flag.
  void BeginProgress(const std::string& text, bool escapeHint = true);
  // Moves the bar and, when given, replaces the text. Only changes reach the display.
  void SetProgress(std::optional<int> percent, std::optional<std::string> text = std::nullopt);
  void EndProgress();
  bool active() const { return active_; }
  // Whether the display is shown at all (a quiet command-line run hides it); a hidden display
  // still polls for Cancel and interrupts.
  void setShown(bool shown) { shown_ = shown; }

  // Lets the display handle up to n pending events: a press of its Cancel button asks
  // "Do really want to stop the current processing ?" and Yes sets the cancel flag; an
  // interrupt (installInterruptHandlers) sets it without asking.
  void pump(int n = 1);
  bool cancelled() const { return cancel_; }
  void clearCancel() { cancel_ = false; }
  // Escape in the builder's tree view: the running operation stops without a question.
  void requestCancel() { cancel_ = true; }

  // The byte total that CopyFileWithProgress measures its percentage against, and the bytes
  // counted so far.
  void setExpectedTotal(std::uint64_t bytes);
  std::uint64_t copiedTotal() const { return copied_; }

  // Copies source to destination block by block; stops at the end of the source, on a short
  // write or when the cancel flag is set. The destination then gets the source's times.
  // Returns the bytes copied; -1 when the source cannot be read or the destination created.
  // With compressed, also tells whether the bytes copied start as a compressed file does
  // (the SZDD magic), read from the source while it is open.
  std::int64_t CopyFileWithProgress(const std::string& source, const std::string& destination,
                                    bool counts, bool* compressed = nullptr);

 private:
  void show();

  ui::Interaction& ui_;
  platform::FileSystem& files_;
  bool active_ = false;
  bool cancel_ = false;
  bool shown_ = true;
  ui::Progress display_;
  int lastPercent_ = -1;
  std::uint64_t expected_ = 0;
  std::uint64_t copied_ = 0;
};

}  // namespace vandrel::builder
