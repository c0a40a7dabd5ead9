// The copy-progress dialog and the disk-message window, shown through the interaction port.
#include "setup/common/copy_progress.h"

#include <cstring>
#include <vector>

#include "platform/file_system.h"
#include "setup/common/setup_texts.h"
#include "setup/common/dialogs.h"
#include "ui/shown_text.h"

namespace vandrel::setup {

CopyProgress::CopyProgress(SetupDialogs& dialogs) : dialogs_(dialogs) {
  model_.caption = copyText(dialogs_.strings(), sid::CopyCaption);
  model_.lines = {"", "", ""};
  model_.percent = 0;
  model_.cancellable = true;
  show();
}

CopyProgress::~CopyProgress() { close(); }

void CopyProgress::setCopyTexts(const std::string& source, const std::string& middle,
                                const std::string& destination) {
  std::vector<std::string> lines{
      source.empty() ? "" : copyText(dialogs_.strings(), sid::CopyingLabel) + " " + source,
      middle,
      destination.empty() ? "" : copyText(dialogs_.strings(), sid::ToLabel) + " " + destination};
  if (lines == model_.lines) return;
  model_.lines = std::move(lines);
  show();
}

void CopyProgress::setPercent(int percent) {
  if (percent < 0) percent = 0;
  if (percent > 100) percent = 100;
  if (percent == model_.percent) return;
  model_.percent = percent;
  show();
}

void CopyProgress::pump(int passes) {
  // One look at the port per pump is enough: a press is reported once until it is taken.
  (void)passes;
  if (!open_ || cancelled_) return;
  if (!dialogs_.ui().cancelPressed()) return;
  if (beforeQuestion_) beforeQuestion_();
  if (!cancelled_ && dialogs_.confirmCancel(true)) cancelled_ = true;
}

void CopyProgress::close() {
  if (!open_) return;
  open_ = false;
  dialogs_.ui().endProgress();
}

void CopyProgress::show() {
  if (open_) dialogs_.ui().progress(model_);
}

bool DiskMessageWindow::showTextFile(const std::string& path, int disk) {
  std::string text;
  if (!readTextFile(files_, path, text)) return false;
  ui::DiskMessage message;
  message.caption = copyText(strings_, sid::MessagesCaption);
  // A disk message file may hold anything: its box shows a bounded part of it.
  message.text = ui::boundedText(text, ui::kScrollingText, copyText(strings_, sid::TextShortened));
  message.disk = disk;
  ui_.diskMessage(message);
  visible_ = true;
  return true;
}

bool readTextFile(platform::FileSystem& files, const std::string& path, std::string& text,
                  std::size_t maxBytes) {
  auto file = files.open(path, platform::OpenMode::Read);
  if (!file) return false;
  text.clear();
  constexpr std::size_t kBlock = 9999;
  std::vector<char> block(kBlock);
  std::size_t total = 0;
  while (total < maxBytes) {
    std::int64_t got = file->read(block.data(), std::min(kBlock, maxBytes - total));
    if (got <= 0) break;
    total += static_cast<std::size_t>(got);
    // The block is appended as a C string: a zero byte ends its text.
    const char* end = static_cast<const char*>(std::memchr(block.data(), 0, got));
    text.append(block.data(), end ? end - block.data() : got);
  }
  return true;
}

}  // namespace vandrel::setup
