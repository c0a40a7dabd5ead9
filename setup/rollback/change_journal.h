// The undo journal of an installation: what each file, folder, INI value and registry value
// the installation changed was before its first change, and the way back to it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/registry.h"

namespace vandrel::setup::rollback {

// The file of the steps in the folder of the private copies.
inline constexpr const char* kJournalName = "journal.txt";

// Kept in the order of first changes; undone in the reverse order, so that a file goes before
// the folder it was made in and a key's values before the key.
class ChangeJournal {
 public:
  // The journal reads and undoes through the machine's own facilities (not the journaling
  // ones), so that nothing it does is journaled.
  ChangeJournal(platform::FileSystem& files, platform::Profile& profile, platform::Registry& registry);

  // Records from now on. The private copies of files about to be replaced or removed are
  // kept in saveFolder (made when first needed; in memory when it cannot be made), so that
  // they can be restored also when the installation keeps no backups. Each step is also
  // written there (kJournalName) before its change is made, so that the next run can undo
  // an installation that was killed.
  void start(const std::string& saveFolder);

  // The steps an installation killed before its end left in saveFolder, read back so that
  // undo() takes them back and finish() removes the folder; false when there are none.
  bool resume(const std::string& saveFolder);
  bool recording() const { return recording_; }
  // Whether anything was changed since start().
  bool empty() const { return steps_.empty(); }

  // Before a change of the file or folder at path (create, write, delete, move, stamps).
  void noteFile(const std::string& path);
  // The same for a path the caller has just seen missing: it is noted as a file this run
  // makes without a look of its own.
  void noteFile(const std::string& path, bool seenMissing);
  // After the file at path was made by a call that finds its own name (a temporary name).
  void noteMadeFile(const std::string& path);
  // Before a write of an INI value; winIni: the Windows folder's WIN.INI (file unused).
  void noteIni(bool winIni, const std::string& file, const std::string& section,
               const std::string& key);
  // Before a key is created under root: every level of subKey that is missing is noted.
  void noteKeyPath(platform::HKey root, const std::string& subKey);
  // Before a value of the key root\subKey is set or deleted.
  void noteValue(platform::HKey root, const std::string& subKey, const std::string& name);
  // A file that stays even when the installation made it (the program the setup's clean-up
  // at the next start runs).
  void keep(const std::string& path) { kept_.insert(fileIdentity(path)); }
  // A change the journal cannot take back (said when the installation is undone).
  void noteLoss(const std::string& what);

  // Takes every change back, latest first. The things that could not be restored, each in
  // a few words with its path; empty when the machine is as it was.
  std::vector<std::string> undo();

  // Stops recording and removes the private copies.
  void finish();

 private:
  enum class Kind { FileMissing, Folder, File, Ini, KeyMissing, Value, Loss };
  struct Step {
    Kind kind = Kind::Loss;
    std::string path;     // file or folder; INI file; key path; what was lost
    std::string section;  // INI section
    std::string key;      // INI key; registry value name
    bool winIni = false;
    platform::HKey root = 0;
    platform::FileStatus status;               // the file or folder as it was
    std::optional<std::string> saved;          // the file's private copy (its path)
    std::optional<std::string> savedInMemory;  // the file's contents when no folder took them
    std::optional<std::string> old;            // the INI value as it was (none: missing)
    std::uint32_t type = 0;                    // the registry value as it was
    std::optional<platform::Bytes> oldData;
  };

  static Step stepOf(Kind kind, const std::string& path) {
    Step step;
    step.kind = kind;
    step.path = path;
    return step;
  }
  bool seen(const std::string& identity);
  void add(Step step);
  bool makeSaveFolder();
  static std::string encode(const Step& step);
  static std::optional<Step> decode(const std::string& line);
  bool save(const std::string& path, Step& step);
  bool undoStep(const Step& step);
  bool restoreFile(const Step& step);
  bool removeMade(const Step& step);
  // Whether the file is still as the step found it (the change failed or wrote the same).
  bool unchanged(const Step& step, const std::optional<platform::FileStatus>& now);
  std::optional<std::string> iniValue(const Step& step);
  bool isMadeFile(const std::string& file);
  // The path made full where it can be (a relative one from the current folder).
  std::string fullPathOf(const std::string& path);
  std::string fileIdentity(const std::string& path);

  platform::FileSystem& files_;
  platform::Profile& profile_;
  platform::Registry& registry_;
  bool recording_ = false;
  std::string saveFolder_;
  bool saveFolderMade_ = false;
  std::vector<Step> steps_;
  std::set<std::string> seen_;
  std::set<std::string> madeFiles_;
  std::set<std::string> kept_;  // identities of files that did not exist before
  std::vector<std::string> savedCopies_;
  std::unique_ptr<platform::File> written_;  // the journal file, appended to step by step
  bool writeFailed_ = false;
};

// A registry path for messages: "HKEY_LOCAL_MACHINE\Software\...".
std::string keyName(platform::HKey root, const std::string& subKey);

}  // namespace vandrel::setup::rollback
