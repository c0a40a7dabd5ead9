// The progress service: display, cancel flag, copy with progress.
#include "builder/generate/progress_service.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <vector>

#include "builder/strings/builder_strings.h"
#include "platform/formats/szdd.h"

namespace vandrel::builder {

namespace {

// Larger than a disk sector run so that a package of many megabytes costs few system calls;
// the display and the cancel flag are still looked at between blocks.
constexpr std::size_t kCopyBlock = 256 * 1024;

// A copy keeps the host's permission bits of its source, as a file copy on the host does: a
// program stays runnable (the starter in a package on a read-only drive cannot be fixed up
// later by whoever runs it).
void keepHostMode(platform::FileSystem& files, const std::string& source,
                  const std::string& destination) {
  std::optional<std::filesystem::path> from = files.hostPath(source);
  std::optional<std::filesystem::path> to = files.hostPath(destination);
  if (!from || !to) return;
  std::error_code ec;
  std::filesystem::perms mode = std::filesystem::status(*from, ec).permissions();
  if (!ec) std::filesystem::permissions(*to, mode, ec);
}

// Set from the signal handler: only these two flags are touched there.
volatile std::sig_atomic_t interruptible = 0;
volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int signal) {
  if (!interruptible || interrupted) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return;
  }
  interrupted = 1;
}

}  // namespace

void installInterruptHandlers() {
  std::signal(SIGINT, onInterrupt);
  std::signal(SIGTERM, onInterrupt);
#ifdef SIGHUP
  // The terminal closed under a running generation: stopped as Ctrl+C stops it, with its
  // staged folders removed.
  std::signal(SIGHUP, onInterrupt);
#endif
}

ProgressService::ProgressService(ui::Interaction& ui, platform::FileSystem& files)
    : ui_(ui), files_(files) {}

void ProgressService::BeginProgress(const std::string& text, bool escapeHint) {
  if (active_ && shown_) ui_.endProgress();
  active_ = true;
  cancel_ = false;
  interrupted = 0;
  interruptible = 1;
  lastPercent_ = -1;
  copied_ = 0;
  expected_ = 0;
  display_ = ui::Progress{};
  display_.caption = "Operation in progress...";
  display_.lines = {escapeHint ? text + " " + str(sid::EscToAbort) : text};
  display_.percent = 0;
  display_.cancellable = true;
  show();
}

void ProgressService::SetProgress(std::optional<int> percent, std::optional<std::string> text) {
  if (!active_) return;
  bool changed = false;
  if (percent && *percent != lastPercent_) {
    lastPercent_ = *percent;
    display_.percent = *percent;
    changed = true;
  }
  if (text && (display_.lines.empty() || display_.lines.front() != *text)) {
    display_.lines = {*text};
    changed = true;
  }
  if (changed) show();
}

void ProgressService::EndProgress() {
  if (!active_) return;
  active_ = false;
  interruptible = 0;
  if (shown_) ui_.endProgress();
}

void ProgressService::show() {
  if (shown_) ui_.progress(display_);
}

void ProgressService::pump(int n) {
  if (!active_ || n <= 0) return;
  if (interrupted) {
    cancel_ = true;
    return;
  }
  if (!ui_.cancelPressed()) return;
  ui::Message question{str(sid::AppName), str(sid::AskStopProcessing), ui::Buttons::YesNo,
                       ui::Icon::Question};
  if (ui_.message(question) == ui::Answer::Yes) cancel_ = true;
}

void ProgressService::setExpectedTotal(std::uint64_t bytes) {
  expected_ = bytes;
  copied_ = 0;
}

std::int64_t ProgressService::CopyFileWithProgress(const std::string& source,
                                                   const std::string& destination, bool counts,
                                                   bool* compressed) {
  std::unique_ptr<platform::File> in = files_.open(source, platform::OpenMode::Read);
  // The source's times are taken before the copy reads it (which may move its access
  // time); from the open file where it can tell them, which spares a second look-up of
  // the path.
  std::optional<platform::FileTimes> times = in ? in->times() : std::nullopt;
  if (!times) {
    std::optional<platform::FileStatus> status = files_.status(source);
    if (!status || status->isDirectory() || !in) return -1;
    times = platform::FileTimes{status->lastAccessTime, status->lastWriteTime};
  }
  // The first bytes are read from the open source, which then starts over: the copy's bytes
  // are the source's.
  std::uint8_t head[8] = {};
  std::int64_t headSize = 0;
  if (compressed) {
    headSize = in->read(head, sizeof head);
    if (headSize < 0 || !in->seek(0)) return -1;
  }
  std::unique_ptr<platform::File> out = files_.create(destination);
  if (!out) return -1;  // nothing could be written: never mistaken for an empty file copied
  std::int64_t total = 0;
  for (;;) {
    pump(60);
    if (cancel_) break;
    // A short or failed block (a full disk) ends the copy; the caller compares the total.
    std::int64_t put = in->copyTo(*out, kCopyBlock);
    if (put <= 0) break;
    total += put;
    const bool ended = std::size_t(put) < kCopyBlock;
    if (counts) {
      copied_ += std::uint64_t(put);
      if (expected_ > 0) {
        double percent = double(copied_) / double(expected_) * 100.0;
        SetProgress(int(percent > 100.0 ? 100.0 : percent));
      }
    }
    if (ended) break;
  }
  // The copy takes the source's times and host permission bits through the open files
  // where it can, else by path once it is closed.
  bool timesSet = out->setTimes(times->lastAccess, times->lastWrite);
  bool modeKept = out->takeHostMode(*in);
  out.reset();
  if (!timesSet) files_.setFileTimes(destination, std::nullopt, times->lastAccess, times->lastWrite);
  if (!modeKept) keepHostMode(files_, source, destination);
  if (compressed) {
    // A copy cut short holds only the bytes it got of the magic.
    std::size_t stored = std::size_t(std::min<std::int64_t>(headSize, total));
    *compressed = platform::szdd::hasMagic(head, stored);
  }
  return total;
}

}  // namespace vandrel::builder
