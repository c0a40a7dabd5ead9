// The file page: a FileRecord's fields, its directory and description lists, "&Browse...",
// "&Validate and Add new file", and the mode it runs in during a drop import.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "builder/pages/page_common.h"

namespace vandrel::builder::pages {

class CAddFileDlg {
 public:
  // The page works on the document behind tree; dropImport is the mode of a drop import.
  CAddFileDlg(ScriptTree& tree, bool dropImport = false);

  // Fields.
  std::string sourceName;  // read-only
  std::int32_t size = 0;   // read-only
  int disk = 1;            // 0..999; 0 is stored as 1
  std::string destName;    // empty: the source name
  bool uninstall = true;
  bool forceCopy = false;
  bool decompress = false;
  bool shared = false;
  // Directory list: the directory entries (tree order), then the four predefined names.
  std::vector<std::string> directoryChoices() const;
  int directory = -1;  // position in directoryChoices(); -1 for no choice
  int platform = 0;    // "All Platforms", "Windows 3.1", "Windows NT", "Windows'95/98"
  std::vector<EntryItem> descriptions;  // tree order
  int description = -1;                 // -1 for no selection
  std::string sourcePath;               // read-only
  // "Use d&efault settings for other dropped files": enabled only in a drop import.
  bool useDefaults = false;

  bool dropImport() const { return dropImport_; }
  bool browseEnabled() const { return !dropImport_; }
  bool validateAndAddEnabled() const { return !dropImport_; }
  bool useDefaultsEnabled() const { return dropImport_; }

  // Starts from a file: its values, its directory (or predefined directory) selected.
  void fill(const FileRecord& file);
  // The key of the file being edited.
  EntryKey key() const { return key_; }

  Check check() const;
  // Writes the fields into file (whose key stays its own).
  void apply(FileRecord& file) const;
  // The file the page holds now, with its key: after "&Validate and Add new file" this is
  // the further new file, which the caller appends on OK or drops on Cancel.
  FileRecord result() const;

  // "&Browse..." returned a file: its name, size, and the folder it lies in.
  void browse(const std::string& chosenPath, std::int64_t fileSize);
  // Where the file chooser starts; empty without a source path.
  std::string browseFolder() const { return sourcePath; }

  // "&Validate and Add new file": checks and stores the current file as OK would (appended
  // when it is new, its shortcuts relabelled when it exists), then goes on with a further
  // new file under a provisional item. Refused (nothing stored) when the check fails or in a
  // drop import.
  Check validateAndAddNew();

 private:
  ScriptTree& tree_;
  bool dropImport_;
  std::vector<EntryItem> directories_;
  FileRecord base_;  // the values this page does not show
  EntryKey key_ = 0;
};

}  // namespace vandrel::builder::pages
