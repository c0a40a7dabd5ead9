// Copying one file of the package: replacement decision, backup, plain or expanded copy,
// progress, the source's date stamps.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/lz.h"
#include "ui/action_log.h"

namespace vandrel::setup {

class CopyProgress;
class ReplacementJudge;

// What the copies of one installation need to know of it.
struct CopyFolders {
  std::string engineFolder;   // ends in a backslash; temporary expansion files go there
  std::string installFolder;  // its "Backup" folder receives the files replaced
  bool backup = false;        // save each file before it is replaced
};

// The running copy total of one installation (the bytes copied or kept so far, over all its
// files) and the copy total the progress bar measures it against.
struct CopyTally {
  long long running = 0;
  long long total = 0;
};

struct CopyRequest {
  std::string sourceFolder;       // ends in a backslash
  std::string sourceName;         // the stored name
  std::string destinationFolder;  // ends in a backslash
  std::string targetName;         // the name at the destination
  std::string force;              // first character "0": compare with an existing file first
  std::string expand;             // first character "1": the stored file is compressed
  // Written whole in one step where the file system can: a copy cut short by a kill leaves
  // the old file or the new one, never a part of the new one under the file's name.
  bool whole = false;
  // A forced copy that still keeps an existing file of a higher version (the uninstaller in
  // the Windows folder, which every package shares): no question, the file stays.
  bool keepHigherVersion = false;
  CopyProgress* progress = nullptr;
};

// The result of a copy when the source file does not exist.
constexpr long long kSourceMissing = -1;

// Copies the files of one installation. It remembers the backups it made, so that a second
// copy over the same destination keeps the first backup (the original file) and two files
// of the same name in different folders are not saved over each other.
class FileCopier {
 public:
  // judge is asked before a file whose request does not force it replaces an existing one;
  // every byte copied or kept is added to tally.
  // log receives one line per file with its decision and the rule that made it.
  FileCopier(platform::FileSystem& files, platform::Lz& lz, ReplacementJudge& judge,
             CopyFolders folders, CopyTally& tally, ui::ActionLog& log = noActionLog())
      : files_(files), lz_(lz), judge_(judge), folders_(std::move(folders)), tally_(tally),
        log_(log) {}
  // Waits for the copies still running: their files are closed with the copier.
  ~FileCopier();
  FileCopier(const FileCopier&) = delete;
  FileCopier& operator=(const FileCopier&) = delete;

  // The number of bytes written (the stored, compressed bytes for an expanded file); the
  // source's size when the user chose to keep the existing file or the destination is the
  // source itself; kSourceMissing when the source does not exist. A copy that cannot be
  // made or completed (unsafe name, backup impossible, write or expansion failure) gives a
  // count that differs from the source's size. source is the request's source file when the
  // caller has opened it already (where it looked for it); otherwise it is opened here. Either
  // way it is looked up once and stays open across the replacement question and the copy.
  long long copy(const CopyRequest& request,
                 std::optional<platform::FileSystem::OpenedFile> source = std::nullopt);

  // What a copy started by copyInOrder() calls with its count, once it is finished.
  using Finished = std::function<void(long long count)>;
  // copy() for a run of many files, each reported in the order started: a new file whose data
  // fits in one piece of the progress bar is created here and its data copied by the file
  // system's copy queue while the caller goes on to the next file. Its date stamps, action-log
  // line and done(count) follow when its data is copied, from a later call of this copier
  // (copyInOrder, finishEnded or finishAll), after those of every copy started before it;
  // lastDecision() and lastRule() then tell its outcome. Any other copy first finishes the
  // copies started, then runs as copy() does and calls done at once.
  // False, with nothing copied and done not called, when finishing the earlier copies
  // cancelled the run (their done asked, and the user stopped).
  bool copyInOrder(const CopyRequest& request,
                   std::optional<platform::FileSystem::OpenedFile> source, const Finished& done);
  // Finishes the started copies whose data has been copied, without waiting for the others.
  void finishEnded();
  // Waits for every started copy and finishes it. Called before anything the user sees
  // besides the progress (a question, a message), so that the copies before it are reported
  // first, and at the end of the run.
  void finishAll();
  // Finishes the started copies first when one of them writes path (which is about to be read).
  void finishWriting(const std::string& path);

  // The last copy's decision as the action log gives it: "copied", "replaced", "kept" or
  // "same-file" when the destination holds the package's file or the one the user kept;
  // "missing" or "failed" when it was not copied.
  const std::string& lastDecision() const { return lastDecision_; }
  bool lastCopied() const { return lastDecision_ != "missing" && lastDecision_ != "failed"; }
  // The rule the action log gives for it ("the copy was cut short ...").
  const std::string& lastRule() const { return lastRule_; }

  // A log that writes nothing, for copies nobody asked to log.
  static ui::ActionLog& noActionLog();

 private:
  // A copy whose file is made and whose data the copy queue is copying (or whose count is
  // known already, when it could not be queued).
  struct Started {
    CopyRequest request;
    platform::FileSystem::OpenedFile source;
    std::unique_ptr<platform::File> written;
    std::string destinationKey;  // full path, lower case
    std::optional<long long> count;
    Finished done;
  };

  // seen, when given, is the destination's status as looked at just before, with nothing
  // changed since.
  long long copyAndDecide(const CopyRequest& request,
                          std::optional<platform::FileSystem::OpenedFile>& source,
                          const std::optional<platform::FileStatus>* seen,
                          std::string& decision, std::string& rule);
  // After the data was written (count bytes of the source's sourceSize): a cut copy removed,
  // a complete one stamped, the decision and rule set. Gives the count.
  long long finishWrite(const CopyRequest& request, const platform::FileStatus& sourceStatus,
                        bool existed, const std::string& writeTarget,
                        std::unique_ptr<platform::File> written, long long count,
                        std::string& decision, std::string& rule);
  void report(const CopyRequest& request, const std::string& decision, const std::string& rule,
              long long count);
  // Whether request may be started for the copy queue, from what is known before looking at
  // its destination.
  bool mayQueue(const CopyRequest& request,
                const std::optional<platform::FileSystem::OpenedFile>& source) const;
  // finishAll() for a copy about to run here: false when finishing them cancelled the run.
  bool finishAllBefore(const CopyRequest& request);
  // Finishes the oldest started copy; false when its data is still being copied and !wait.
  bool finishOldest(bool wait);
  // The bytes of one piece of the block copy: one percent of the copy total.
  std::size_t pieceSize() const;
  bool backUp(const std::string& destination, const std::string& targetName);
  // Whether the existing destination has a higher file version than the source (expanded
  // aside first when it is stored compressed).
  bool existingHasHigherVersion(const CopyRequest& request, const std::string& source,
                                const std::string& destination, unsigned unique);
  // The whole file written in one step: the bytes written (0 on failure), or empty when the
  // file system has no such way.
  std::optional<long long> writeWhole(platform::File& in, const std::string& writeTarget,
                                      CopyProgress* progress);
  // The block copy: the bytes written; the copy, still open, in *out (null when it was
  // written whole or not made).
  long long writeFile(const CopyRequest& request, platform::File* in,
                      const std::string& writeTarget, std::unique_ptr<platform::File>* out);
  void addToRunningTotal(long long bytes, CopyProgress* progress);

  platform::FileSystem& files_;
  platform::Lz& lz_;
  ReplacementJudge& judge_;
  CopyFolders folders_;
  CopyTally& tally_;
  ui::ActionLog& log_;
  std::map<std::string, std::string> backups_;  // backup path -> destination it saved (lower case)
  std::string lastDecision_;
  std::string lastRule_;
  std::deque<Started> started_;  // oldest first
};

// A file name that may be appended to a folder: no ".." part, no drive or stream colon, no
// device name (CON, NUL, COM1, ...), not empty.
bool isSafeFileName(const std::string& name);

}  // namespace vandrel::setup
