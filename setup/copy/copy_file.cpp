// Copying one file: the replacement decision, the backup, the block copy with progress and
// cancel, the expansion of compressed files and the source's date stamps.
#include "setup/copy/copy_file.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/bounded_read.h"
#include "platform/copy_queue.h"
#include "platform/file_system.h"
#include "platform/lz.h"
#include "platform/text/text_rules.h"
#include "platform/text/windows_path.h"
#include "script/list_item.h"
#include "setup/common/copy_progress.h"
#include "setup/copy/expansion_record.h"
#include "setup/versions/replace_decision.h"

namespace vandrel::setup {
namespace {

constexpr std::size_t kBlockSize = 4096;

// The same file on disk under both names (the script copied onto itself, a package
// installed into its own folder): copying would empty the source first.
bool sameFile(platform::FileSystem& files, const std::string& a, const std::string& b) {
  std::string fullA = files.fullPath(a), fullB = files.fullPath(b);
  return !fullA.empty() && text::toLower(fullA) == text::toLower(fullB);
}

std::string withoutTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// Creates the folders of path's parent that are missing, below (not including) base.
void createParents(platform::FileSystem& files, const std::string& base, const std::string& path) {
  for (std::size_t at = path.find('\\', base.size() + 1); at != std::string::npos;
       at = path.find('\\', at + 1)) {
    files.createDirectory(path.substr(0, at));
  }
}

bool plainCopy(platform::FileSystem& files, const std::string& from, const std::string& to) {
  auto in = files.open(from, platform::OpenMode::Read);
  if (!in) return false;
  auto out = files.create(to);
  if (!out) return false;
  std::array<char, 65536> buffer;
  for (;;) {
    std::int64_t got = in->read(buffer.data(), buffer.size());
    if (got == 0) return true;
    if (got < 0 || out->write(buffer.data(), static_cast<std::size_t>(got)) != got) {
      out.reset();
      files.deleteFile(to);  // no half backup that looks like a whole one
      return false;
    }
  }
}

// Expands a compressed file through the LZ library; a plain file is copied unchanged.
// opened tells whether the destination was created (or emptied) on the way.
bool lzExpand(platform::Lz& lz, const std::string& from, const std::string& to, bool& opened) {
  opened = false;
  int src = lz.openFile(from, false);
  if (src < 0) return false;
  int dst = lz.openFile(to, true);
  if (dst < 0) {
    lz.close(src);
    return false;
  }
  opened = true;
  long result = lz.copy(src, dst);
  lz.close(src);
  lz.close(dst);
  return result >= 0;
}

bool freeTemporaryName(platform::FileSystem& files, const std::string& folder, unsigned unique,
                       std::string& name) {
  // The name "KVB" + four hex digits of the source's size + ".TMP" in the engine folder; a
  // file or folder of that name (another program's, or one left by a crash) is never
  // overwritten and deleted: the next number whose name is free is taken instead.
  for (unsigned step = 0; step <= 0xFFFF; ++step) {
    unsigned number = unique + step;
    // 0 would make the platform choose and create a name of its own.
    if (number == 0) continue;
    if (files.tempFileName(folder, kExpansionPrefix, number, name) == 0) return false;
    if (!files.status(name)) return true;
  }
  return false;
}

}  // namespace

bool isSafeFileName(const std::string& name) {
  if (name.empty() || name.find(':') != std::string::npos) return false;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = name.find_first_of("\\/", start);
    std::string part = name.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (part == ".." || text::isDeviceName(part)) return false;
    if (end == std::string::npos) return !part.empty();
    start = end + 1;
  }
}

ui::ActionLog& FileCopier::noActionLog() {
  static ui::ActionLog none;
  return none;
}

FileCopier::~FileCopier() {
  // The queue may still be copying into files this copier holds open.
  if (platform::CopyQueue* queue = files_.copyQueue()) {
    for (const Started& started : started_) {
      if (!started.count) queue->takeOldest(true);
    }
  }
}

long long FileCopier::copy(const CopyRequest& request,
                           std::optional<platform::FileSystem::OpenedFile> source) {
  finishAll();
  std::string decision, rule;
  long long count = copyAndDecide(request, source, nullptr, decision, rule);
  report(request, decision, rule, count);
  return count;
}

void FileCopier::report(const CopyRequest& request, const std::string& decision,
                        const std::string& rule, long long count) {
  log_.file(request.sourceFolder + request.sourceName,
            request.destinationFolder + request.targetName, decision, rule, count);
  lastDecision_ = decision;
  lastRule_ = rule;
}

bool FileCopier::mayQueue(const CopyRequest& request,
                          const std::optional<platform::FileSystem::OpenedFile>& source) const {
  // A file larger than one piece is copied here, so that the progress bar moves (and a
  // cancel is seen) between its pieces; a cancelled run copies here as it always has.
  return files_.copyQueue() != nullptr && !request.whole &&
         script::readFlag(request.expand) != script::Flag::Set && source && source->file &&
         isSafeFileName(request.sourceName) && isSafeFileName(request.targetName) &&
         source->status.size <= pieceSize() && !(request.progress && request.progress->cancelled());
}

bool FileCopier::finishAllBefore(const CopyRequest& request) {
  const bool cancelledBefore = request.progress && request.progress->cancelled();
  finishAll();
  return cancelledBefore || !(request.progress && request.progress->cancelled());
}

bool FileCopier::copyInOrder(const CopyRequest& request,
                             std::optional<platform::FileSystem::OpenedFile> source,
                             const Finished& done) {
  const std::optional<platform::FileStatus>* seen = nullptr;
  std::optional<platform::FileStatus> existing;
  const std::string destination = request.destinationFolder + request.targetName;
  if (mayQueue(request, source)) {
    existing = files_.status(destination);
    if (!existing) {
      // A new file: made now, in order, and its data handed to the queue.
      Started started{request, std::move(*source), files_.create(destination),
                      text::toLower(files_.fullPath(destination)), std::nullopt, done};
      platform::CopyQueue& queue = *files_.copyQueue();
      if (!started.written) {
        started.count = 0;
      } else if (queue.accepts(*started.source.file, *started.written)) {
        queue.push(*started.source.file, *started.written, pieceSize());
      } else {
        std::int64_t put = started.source.file->copyTo(*started.written, pieceSize());
        started.count = put < 0 ? 0 : put;
      }
      started_.push_back(std::move(started));
      finishEnded();
      // A bounded number of files open at once.
      constexpr std::size_t kMostStarted = 32;
      while (started_.size() > kMostStarted) finishOldest(true);
      return true;
    }
    // The destination's look stands for the copy below when no earlier copy was finished
    // in between (a finished copy may have removed a file).
    if (started_.empty()) seen = &existing;
  }
  if (!finishAllBefore(request)) return false;
  std::string decision, rule;
  long long count = copyAndDecide(request, source, seen, decision, rule);
  report(request, decision, rule, count);
  done(count);
  return true;
}

void FileCopier::finishEnded() {
  while (!started_.empty() && finishOldest(false)) {
  }
}

void FileCopier::finishAll() {
  while (!started_.empty()) finishOldest(true);
}

void FileCopier::finishWriting(const std::string& path) {
  if (started_.empty()) return;
  const std::string key = text::toLower(files_.fullPath(path));
  for (const Started& started : started_) {
    if (started.destinationKey == key) return finishAll();
  }
}

bool FileCopier::finishOldest(bool wait) {
  Started& oldest = started_.front();
  if (!oldest.count) {
    std::optional<std::int64_t> put = files_.copyQueue()->takeOldest(wait);
    if (!put) return false;
    oldest.count = *put < 0 ? 0 : *put;
  }
  Started started = std::move(oldest);
  started_.pop_front();
  addToRunningTotal(*started.count, started.request.progress);
  // A queued copy is always of a new file.
  std::string decision = "failed", rule = "new file";
  const std::string destination = started.request.destinationFolder + started.request.targetName;
  long long count = finishWrite(started.request, started.source.status, false, destination,
                                std::move(started.written), *started.count, decision, rule);
  started.source.file.reset();
  report(started.request, decision, rule, count);
  started.done(count);
  return true;
}

std::size_t FileCopier::pieceSize() const {
  // The bytes go in pieces that move the progress bar by at most one percent, so that it
  // shows every percentage and a cancel is seen between them.
  const long long onePercent = tally_.total / 100;
  return std::max<std::size_t>(kBlockSize, onePercent > 0 ? std::size_t(onePercent) : 0);
}

bool FileCopier::existingHasHigherVersion(const CopyRequest& request, const std::string& source,
                                          const std::string& destination, unsigned unique) {
  if (script::readFlag(request.expand) != script::Flag::Set) {
    return judge_.existingIsHigher(source, destination);
  }
  std::string expanded;
  if (!freeTemporaryName(files_, withoutTrailingBackslash(folders_.engineFolder), unique, expanded)) {
    return false;
  }
  bool opened = false;
  bool higher = lzExpand(lz_, source, expanded, opened) && judge_.existingIsHigher(expanded, destination);
  files_.deleteFile(expanded);
  return higher;
}

long long FileCopier::copyAndDecide(const CopyRequest& request,
                                    std::optional<platform::FileSystem::OpenedFile>& opened,
                                    const std::optional<platform::FileStatus>* seen,
                                    std::string& decision, std::string& rule) {
  decision = "failed";
  platform::FileSystem& files = files_;
  decision = "missing";
  rule = "the source file is not in the package folder";
  if (!isSafeFileName(request.sourceName)) {
    rule = "unsafe source name";
    return kSourceMissing;
  }
  const std::string source = request.sourceFolder + request.sourceName;
  if (!opened) opened = files.openForReading(source);
  if (!opened) return kSourceMissing;
  const platform::FileStatus* sourceStatus = &opened->status;
  const long long sourceSize = static_cast<long long>(sourceStatus->size);
  decision = "failed";
  rule = "unsafe target name";
  if (!isSafeFileName(request.targetName)) return 0;
  const std::string destination = request.destinationFolder + request.targetName;

  std::optional<platform::FileStatus> existing = seen ? *seen : files.status(destination);
  rule = "a folder has the target's name";
  if (existing && existing->isDirectory()) return 0;
  if (existing && sameFile(files, source, destination)) {
    decision = "same-file";
    rule = "the target is the source itself";
    addToRunningTotal(sourceSize, request.progress);
    return sourceSize;
  }
  bool compare = existing && !request.force.empty() && request.force[0] == '0';
  if (existing && !compare && request.keepHigherVersion &&
      existingHasHigherVersion(request, source, destination, unsigned(sourceSize))) {
    decision = "kept";
    rule = "forced, but the existing file has a higher version: kept";
    addToRunningTotal(sourceSize, request.progress);
    return sourceSize;
  }
  if (compare &&
      !judge_.mayReplace(source, destination, request.targetName, *sourceStatus, *existing)) {
    // The user keeps the existing file: it is counted as done and left untouched.
    decision = "kept";
    rule = judge_.lastRule();
    addToRunningTotal(sourceSize, request.progress);
    return sourceSize;
  }
  rule = !existing ? "new file" : compare ? judge_.lastRule() : "forced: replaced without comparing";
  // A file that would be replaced without a copy to go back to is not replaced.
  if (existing && folders_.backup && !backUp(destination, request.targetName)) {
    rule = "the replaced file could not be backed up";
    return 0;
  }
  if (existing && folders_.backup) rule += "; the old file backed up";

  const bool expand = script::readFlag(request.expand) == script::Flag::Set;
  std::string writeTarget = destination;
  if (expand && !freeTemporaryName(files, withoutTrailingBackslash(folders_.engineFolder),
                                   static_cast<unsigned>(sourceSize), writeTarget)) {
    rule = "no free temporary name for the expansion";
    return 0;
  }
  std::unique_ptr<platform::File> written;
  long long count = writeFile(request, opened->file.get(), writeTarget, &written);
  return finishWrite(request, *sourceStatus, existing.has_value(), writeTarget, std::move(written),
                     count, decision, rule);
}

long long FileCopier::finishWrite(const CopyRequest& request, const platform::FileStatus& sourceStatus,
                                  bool existed, const std::string& writeTarget,
                                  std::unique_ptr<platform::File> written, long long count,
                                  std::string& decision, std::string& rule) {
  platform::FileSystem& files = files_;
  const long long sourceSize = static_cast<long long>(sourceStatus.size);
  const bool expand = script::readFlag(request.expand) == script::Flag::Set;
  const std::string destination = request.destinationFolder + request.targetName;
  // A cancel confirmed after the last block was written leaves a whole file: it stays, like
  // the files copied before it; only a file the cancel cut short is removed below.
  bool complete = count == sourceSize;
  // Whether the destination was created or emptied: a file the copy never opened (locked,
  // read-only) keeps its old content.
  bool touched = !expand && written != nullptr;
  // The copy stays open only to take its stamps: it is closed before its name is used again.
  if (!complete || expand) written.reset();
  if (expand) {
    if (complete) complete = lzExpand(lz_, writeTarget, destination, touched);
    files.deleteFile(writeTarget);
    if (!complete && count == sourceSize) count = 0;  // the expansion failed
  }
  // A half-written file is removed rather than left to pass for the package's file: a new
  // one, and an old one the copy had already emptied (its backup, if any, keeps it).
  if (!complete && (!existed || touched)) files.deleteFile(destination);
  // Only a complete copy takes the source's date stamps: a file left as it was, or half
  // written, must not look like the package's.
  if (complete) {
    // Through the open copy where the file system can (no second look-up of the path).
    std::optional<bool> stamped;
    if (written) {
      stamped = written->setCopyStamps(sourceStatus.creationTime, sourceStatus.lastWriteTime,
                                       platform::attr::Normal);
      written.reset();
    }
    if (!stamped) {
      files.setCopyStamps(destination, sourceStatus.creationTime, sourceStatus.lastWriteTime,
                          platform::attr::Normal);
    }
    decision = existed ? "replaced" : "copied";
    if (expand) rule += "; expanded";
  } else {
    rule = count < sourceSize ? "the copy was cut short (write failure or cancel)" : "the expansion failed";
  }
  return count;
}

long long FileCopier::writeFile(const CopyRequest& request, platform::File* in,
                                const std::string& writeTarget,
                                std::unique_ptr<platform::File>* out) {
  platform::FileSystem& files = files_;
  if (!in) return 0;  // the source is there but cannot be read
  if (request.whole) {
    std::optional<long long> written = writeWhole(*in, writeTarget, request.progress);
    if (written) return *written;
    if (!in->seek(0)) return 0;  // no such way here: the block copy below reads it again
  }
  *out = files.create(writeTarget);
  if (!*out) return 0;
  // The file system copies each piece itself where it can (the kernel, between two host
  // files).
  const std::size_t piece = pieceSize();
  long long count = 0;
  for (;;) {
    if (request.progress) request.progress->pump(20);
    std::int64_t put = in->copyTo(**out, piece);
    if (put <= 0) break;
    count += put;
    addToRunningTotal(put, request.progress);
    if (request.progress && request.progress->cancelled()) break;
    if (std::size_t(put) < piece) break;  // the source's end (or a failed write)
  }
  return count;
}

std::optional<long long> FileCopier::writeWhole(platform::File& in, const std::string& writeTarget,
                                               CopyProgress* progress) {
  // Copies made whole are of the install script, a text the setup itself reads whole with
  // the same limit.
  std::optional<std::string> read = platform::readBounded(in, platform::kTextFileLimit, nullptr);
  if (!read) return 0;
  const std::string& contents = *read;
  std::optional<bool> replaced = files_.replaceWholeFile(writeTarget, contents);
  if (!replaced) return std::nullopt;
  if (!*replaced) return 0;
  addToRunningTotal(static_cast<long long>(contents.size()), progress);
  return static_cast<long long>(contents.size());
}

void FileCopier::addToRunningTotal(long long bytes, CopyProgress* progress) {
  tally_.running += bytes;
  if (!progress) return;
  long double ratio =
      tally_.total > 0 ? static_cast<long double>(tally_.running) / tally_.total : 1.0L;
  progress->setPercent(static_cast<int>(std::clamp(ratio * 100, 0.0L, 100.0L)));
}

bool FileCopier::backUp(const std::string& destination, const std::string& targetName) {
  platform::FileSystem& files = files_;
  const std::string backupFolder = folders_.installFolder + "\\Backup";
  const std::string destinationKey = text::toLower(files.fullPath(destination));
  std::string path = backupFolder + "\\" + targetName;
  for (int n = 1;; ++n) {
    auto made = backups_.find(text::toLower(path));
    if (made == backups_.end()) break;
    // This destination was saved earlier in this run: the backup holds the original.
    if (made->second == destinationKey) return true;
    path = backupFolder + "\\" + targetName + "." + std::to_string(n);
  }
  files.createDirectory(backupFolder);
  createParents(files, backupFolder, path);
  // A byte-for-byte copy, so that a file that happens to be compressed is saved as it is.
  if (!plainCopy(files, destination, path)) return false;
  if (auto status = files.status(destination)) {
    files.setFileTimes(path, status->creationTime, std::nullopt, status->lastWriteTime);
  }
  backups_[text::toLower(path)] = destinationKey;
  return true;
}

}  // namespace vandrel::setup
