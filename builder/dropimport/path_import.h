// Files and folders named on the command line become entries, by the folder rules of the
// drop import but without the builder's preferences or any dialog: each folder becomes a
// directory of the package holding its files (its sub-folders too when asked), each file a
// file entry. What is already in the document is not added again, so adding the same folder
// twice adds nothing the second time; everything left out is reported with the reason.
#pragma once

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "builder/dropimport/folder_identity.h"
#include "builder/tree/script_tree.h"
#include "platform/file_system.h"

namespace vandrel::builder::dropimport {

struct PathImportOptions {
  // Sub-folders are walked and become directories "folder\sub" (otherwise they are skipped).
  bool recursive = false;
  // The directory the named items go into: a directory of the document (by its name, or the
  // last part of it), one of the four predefined names ("Install Path", "Root Drive",
  // "Windows System", "Windows Dir"), or a new directory of that name. Without it a named
  // item whose folder is named like a directory of the document goes below that directory
  // (as in a drop); otherwise a named file goes into the installation folder and a named
  // folder becomes a directory of its own.
  std::optional<std::string> into;
  // The component (description) every file added belongs to; made when the document has none
  // of that text.
  std::optional<std::string> component;
  // The disk of every file added; without it the highest disk in use (at least 1), as a drop.
  std::optional<int> disk;
};

struct PathImportReport {
  struct Added {
    std::string path;       // the file's full Windows path
    std::string directory;  // where it is installed: a directory's name or a predefined name
  };
  struct Skipped {
    std::string path;
    std::string why;
  };
  std::vector<Added> files;
  std::vector<std::string> directoriesMade;
  std::vector<std::string> componentsMade;
  std::vector<Skipped> skipped;
  bool changed() const {
    return !files.empty() || !directoriesMade.empty() || !componentsMade.empty();
  }
};

class PathImport {
 public:
  PathImport(ScriptTree& tree, platform::FileSystem& files);

  // Imports the paths (Windows paths of existing files and folders, in the order given,
  // folders walked breadth-first) and sorts "Files to Copy", "Directories" and
  // "Descriptions" when something was added.
  PathImportReport run(const std::vector<std::string>& paths, const PathImportOptions& options);

 private:
  struct Place {
    EntryKey directory = 0;  // 0: the predefined folder below
    int predefined = 0;
    std::string name;  // the directory's name, or the predefined name
  };
  struct Work {
    std::string path;
    bool folder = false;
    Place place;  // a file: where it goes; a folder: where its directory hangs
    std::size_t walked = WalkedFolders::kNamed;  // a folder: its number in folders_
  };

  Place resolveInto(const std::string& into);
  // The directory of a folder: named after it, below the directory it is found in (a named
  // folder: below --into), made unless the document has it.
  Place folderPlace(const std::string& path, const Place& under);
  EntryKey directory(const std::string& name, int parent, bool& made);
  void addFile(const std::string& path, const Place& place);
  // Walks a folder (its number in folders_), whose files go to place.
  void walk(std::size_t walked, const Place& place);
  bool alreadyAdded(const std::string& path) const;

  ScriptTree& tree_;
  CScriptDoc& doc_;
  platform::FileSystem& files_;
  PathImportOptions options_;
  PathImportReport report_;
  std::vector<Work> work_;
  WalkedFolders folders_;  // every folder walked or to walk, to see links that make loops
  std::unordered_set<std::string> existing_;  // full source paths of the document's files, upper case
  EntryKey component_ = 0;
  int disk_ = 1;
};

}  // namespace vandrel::builder::dropimport
