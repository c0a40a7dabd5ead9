// The record a removal keeps of the shared files' usage counts it has already lowered, so that
// a removal killed midway and run again lowers each count only once.
#pragma once

#include <set>
#include <string>

#include "platform/profile.h"
#include "platform/registry.h"
#include "script/removal_marks.h"

namespace vandrel::uninstall {

using script::kRemovalMarksKey;
using script::kRemovalRunKey;
using script::kRemovalSection;

// A removal's marks: one registry value per shared file whose count it lowered or settled,
// named after the installation folder, the removal's run id and the file. A mark is written
// inside the very registry change that lowered the count, so a kill leaves either both or
// neither.
//
// The run id lives in the installation's script: a rerun of a killed removal reads it back and
// finds its marks, while a new installation into the folder replaces the script and with it
// the id, so that marks a killed removal left behind never speak for a later installation. A
// setup that installs over the half-removed installation first gives back the counts marked
// for the script's run, dropping those marks (setup/upgrade/upgrade.h).
class RemovalRecord {
 public:
  RemovalRecord(platform::Registry& registry, platform::Profile& profile, const std::string& installFolder,
                const std::string& scriptPath);

  // Reads the run id from the script (a rerun's), loads that run's marks and drops the marks
  // other runs left for the same folder. Before any count is changed. Then notes the folder as
  // being removed ("<FOLDER>|removing"), so that a removal stopped before it took the folder
  // leaves a sign that the folder is the installation's (setup/directory_pass.cpp).
  void begin();

  // Writes a new run id into the script unless it holds one: before this removal's first
  // change of a count, so that a removal that changes none leaves its script as it was.
  void name();

  // Whether this removal has released the count of a shared file (its full path, upper case).
  bool released(const std::string& pathKey) const { return marks_.count(pathKey) > 0; }

  // Records that the file's count was released. Called inside the registry change that
  // lowered or settled the count; gives the registry's error code.
  long mark(const std::string& pathKey);

  // Drops this run's marks and the folder's note, and the key when no other removal has any
  // there. Only once the script is gone: a rerun could otherwise lower the counts again.
  void finish();

 private:
  std::string prefix() const;  // the value names' start: "<FOLDER>|<id>|"
  std::string folderPrefix() const;
  std::string removingNote() const;  // "<FOLDER>|removing"
  void dropMarks(bool onlyThisRun);

  platform::Registry& registry_;
  platform::Profile& profile_;
  std::string folderKey_;  // the installation folder, upper case
  std::string scriptPath_;
  std::string runId_;
  std::set<std::string> marks_;  // path keys
};

}  // namespace vandrel::uninstall
