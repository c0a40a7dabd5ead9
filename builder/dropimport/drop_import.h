// Files and folders dropped on a document's tree become entries: each file a FileRecord, each
// folder optionally a DirectoryRecord, with folders walked breadth-first as far as the
// preferences allow. The directory selector and the file page are asked through DropDialogs.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "builder/dropimport/folder_identity.h"
#include "builder/model/builder_preferences.h"
#include "builder/pages/file_page.h"
#include "platform/file_system.h"
#include "ui/interaction.h"

namespace vandrel::builder::dropimport {

// Where a dropped file goes: a directory entry, or (key 0) a predefined directory 0..3.
struct DirectoryChoice {
  EntryKey key = 0;
  int predefined = 0;
};

// The "Directory Selector": the document's directories in tree order shown as paths, then
// the four predefined names.
class DirectorySelector {
 public:
  DirectorySelector(ScriptTree& tree, const std::string& fileName, bool cancelEnabled);

  const std::string& text() const { return text_; }  // "Choose in the list below ..."
  std::vector<std::string> items() const;
  int selected = -1;
  bool keep = false;  // "&Keep same directory for all dropped files"
  bool cancelEnabled() const { return cancelEnabled_; }

  // "&Add directory...": runs the add-directory command given, then fills the list again.
  std::function<bool()> addDirectoryCommand;
  bool addDirectory();
  // "&OK": the choice; nullopt (a beep) without a selection.
  std::optional<DirectoryChoice> choice() const;

 private:
  void fillList();
  ScriptTree& tree_;
  std::string text_;
  bool cancelEnabled_;
  std::vector<pages::EntryItem> directories_;
};

// The two dialogs a drop may show.
class DropDialogs {
 public:
  virtual ~DropDialogs() = default;
  // True on OK with selector.selected (and keep) set; false on Cancel.
  virtual bool selectDirectory(DirectorySelector& selector) = 0;
  // The file page in drop mode; true on OK with the page's fields as the author left them
  // and passing its check; false on Cancel.
  virtual bool editFile(pages::CAddFileDlg& page) = 0;
};

// The dialogs over the interaction port: the selector is a list choice (its "Keep" box and
// "&Add directory..." are not offered there), the file page a page whose fields are named
// Disk, DestName, Uninstall, ForceCopy, Decompress, Shared, Directory, Platform, Description
// and UseDefaults.
class InteractionDropDialogs : public DropDialogs {
 public:
  explicit InteractionDropDialogs(ui::Interaction& ui) : ui_(ui) {}
  bool selectDirectory(DirectorySelector& selector) override;
  bool editFile(pages::CAddFileDlg& page) override;

 private:
  ui::Interaction& ui_;
};

struct DropResult {
  int files = 0;
  int directories = 0;
  bool cancelled = false;
};

class DropImport {
 public:
  DropImport(ScriptTree& tree, const BuilderPreferences& prefs, platform::FileSystem& files,
             ui::Interaction& ui, DropDialogs& dialogs);

  // Imports the dropped paths (Windows paths, in the order the shell reports them), shows the
  // closing message and sorts "Files to Copy" and "Directories".
  DropResult run(const std::vector<std::string>& dropped);

  // Set for the whole import: the file page reads it.
  bool running() const { return running_; }
  // The add-directory command the selector's "&Add directory..." runs (optional).
  std::function<bool()> addDirectoryCommand;

 private:
  struct WorkItem {
    std::string path;
    bool folder = false;
    std::size_t walked = WalkedFolders::kNamed;  // a folder: its number in folders_
  };

  void importFile(const std::string& path);
  // Imports a folder (its number in folders_); a sub-folder that is a link back to a folder
  // that holds it is not walked again.
  void importFolder(std::size_t walked);
  std::optional<DirectoryChoice> destinationFor(const std::string& path);
  EntryKey addDirectory(const std::string& name);
  void beginProgress(const std::string& text);
  void setProgress(int percent);
  void pollCancel();
  void finish();

  ScriptTree& tree_;
  CScriptDoc& doc_;
  const BuilderPreferences& prefs_;
  platform::FileSystem& files_;
  ui::Interaction& ui_;
  DropDialogs& dialogs_;

  // Per drop.
  std::vector<WorkItem> work_;
  WalkedFolders folders_;
  DropResult result_;
  int defaultDisk_ = 1;
  std::optional<DirectoryChoice> kept_;
  bool skipFilePages_ = false;
  bool unmatchedFolderSeen_ = false;
  bool running_ = false;
  ui::Progress progress_;
};

// An item's name: the text after the last backslash; its parent name: the last part of the
// folder that holds it (empty when there is none, a drive alone included).
std::string itemName(const std::string& path);
std::string parentName(const std::string& path);

// The first directory entry (list order) whose name, or the last backslash-separated part of
// it, equals name without regard to case; 0 when none.
EntryKey findDirectoryByName(const CScriptDoc& doc, const std::string& name);

}  // namespace vandrel::builder::dropimport
