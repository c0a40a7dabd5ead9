// What the removal steps work with, each part by reference: the installed script and the
// folders its entries resolve against, the machine's file system, profile and registry, the
// questions, the progress window, and the tally that the steps change as they go.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "script/schema.h"
#include "script/script_reader.h"
#include "script/string_table.h"
#include "ui/action_log.h"
#include "ui/interaction.h"
#include "uninstall/progress_window.h"
#include "uninstall/removal_record.h"

namespace vandrel::uninstall {

using script::Section;

// The folders of one removal.
struct UninstallFolders {
  std::string windowsFolder;  // ends in a backslash
  std::string installFolder;  // the command line, one trailing backslash dropped
  std::string scriptPath;     // installFolder + "\" + "Script.vrx"
};

// What the steps of one removal share and change: the progress count, the yes-to-all
// answer, the shared files already released and whether anything stayed.
struct RemovalTally {
  // Counted in 64 bits: the seven counts of a damaged script may add up beyond an int.
  long long total = 0;
  long long done = 0;
  bool yesToAll = false;
  // Shared paths (upper case) whose usage count the shared-files step has already released:
  // the standard-files step leaves them alone, so that one installation's count is lowered
  // once.
  std::set<std::string> releasedShared;
  // Set when an item a step tried to remove (a file, a shortcut, a Win.ini key, a registry
  // value or key) is still there: the removal is then not reported as complete.
  bool leftovers = false;
};

// Message boxes of the uninstaller, captioned with the program's title: a Yes/No question
// with the question icon, and a message with the stop icon.
bool askYesNo(ui::Interaction& ui, const script::StringTable& strings, const std::string& text);
void stopMessage(ui::Interaction& ui, const script::StringTable& strings, const std::string& text);

class Removal {
 public:
  Removal(const script::ScriptReader& script, const UninstallFolders& folders,
          platform::FileSystem& files, platform::Profile& profile, platform::Registry& registry,
          ui::Interaction& ui, const script::StringTable& strings, RemovalTally& tally,
          ProgressWindow* progress, ui::ActionLog* log = nullptr)
      : script(script), folders(folders), files(files), profile(profile), registry(registry),
        strings(strings), tally(tally), ui_(ui), progress_(progress), log_(log) {}

  const script::ScriptReader& script;
  const UninstallFolders& folders;
  platform::FileSystem& files;
  platform::Profile& profile;
  platform::Registry& registry;
  const script::StringTable& strings;
  RemovalTally& tally;
  // The marks of the counts already released, kept by the driver's removals; none: a count is
  // released without a mark (a step run on its own).
  RemovalRecord* record = nullptr;

  // Script reads: the count of a section (integer read, default 0) and a text value (empty
  // when missing).
  int count(Section section) const { return script.count(section); }
  std::string text(Section section, long long key) const {
    return script.text(section, std::to_string(key));
  }
  // The entry numbers below count that the section holds, from one read of its key list.
  std::vector<long long> presentEntries(Section section, long long count) const;
  // The folder of a [Directories] entry, uninstaller form.
  std::string resolveDirectory(long long key) const;
  // Whether the setup found the folder in place before the installation ([KeptFolders]):
  // the removal then leaves it.
  bool keptFolder(const std::string& folder) const;

  // One (or several) removal items done: moves the bar when the percentage changes.
  void advanceProgress(long long items = 1);
  // A Yes/No question.
  bool askYesNo(const std::string& text) { return uninstall::askYesNo(ui_, strings, text); }
  // The shared-file question dialog: "&Yes", "&Yes to all", "&No". Yes to all sets the
  // tally's yes-to-all answer. True for either Yes.
  bool askDeleteShared(const std::string& text);

  // The action log of the run: each removal and each thing left (one that writes nothing
  // when the run has none).
  ui::ActionLog& log();
  // Removes a folder and logs the outcome: removed, or left because it is not empty or could
  // not be removed (a folder that was not there is not logged). True when it was removed.
  bool removeFolder(const std::string& folder, const std::string& kind);

  // The registry key of the shared files' usage counts, opened at its first use and kept
  // open until the removal ends: one look-up of its path for the whole removal instead of
  // one per file. 0 while the key cannot be opened. afresh: the kept key was deleted (and
  // perhaps made again) by another program, so its path is looked up again.
  platform::HKey sharedCountsKey(bool afresh = false);

 private:
  // A key handle closed when its holder ends; moved, never copied.
  struct KeptKey {
    KeptKey() = default;
    KeptKey(KeptKey&& other) noexcept : registry(other.registry), key(other.key) { other.key = 0; }
    KeptKey& operator=(KeptKey&&) = delete;
    ~KeptKey() { close(); }
    void close() {
      if (key != 0) registry->closeKey(key);
      key = 0;
    }
    platform::Registry* registry = nullptr;
    platform::HKey key = 0;
  };

  ui::Interaction& ui_;
  ProgressWindow* progress_;
  ui::ActionLog* log_;
  KeptKey sharedCounts_;
};

}  // namespace vandrel::uninstall
