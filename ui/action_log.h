// The action log of a run (VANDREL_LOG): one JSON line per thing the program does to the
// machine, written and flushed at once, and a closing summary line.
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>
#include <string>

#include "ui/interaction.h"
#include "ui/json_line.h"

namespace vandrel::ui {

class ActionLog {
 public:
  ActionLog() = default;  // writes nothing
  // Appends to the file at path (several programs of one run write one after another).
  ActionLog(Program program, std::string path, std::FILE* err = stderr);

  // VANDREL_LOG, else "<transcript>.actions.jsonl" beside VANDREL_TRANSCRIPT when only that
  // is set, else empty.
  static std::string pathFromEnvironment();

  bool enabled() const { return !path_.empty(); }

  // Each thing reported below (a file, a change, a removal, an action, a packaged file) is one
  // step of the run for VANDREL_STOP_AFTER (platform/stop_point.h), written to a log or not.

  // A plan (VANDREL_PLAN): every line carries "plan":true after the program's name, and the
  // summary's sentence says that nothing was changed.
  void setPlan(bool plan) { plan_ = plan; }
  bool plan() const { return plan_; }

  // One file of the package: where from, where to, what was done ("copied", "replaced",
  // "kept", "same-file", "missing", "failed") and the rule that decided it.
  void file(const std::string& source, const std::string& target, const std::string& decision,
            const std::string& rule, long long bytes);

  // One INI or registry write ("ini", "registry"): where (in order: file, section and key, or
  // key and value name), the value before (nullopt: there was none), the value written, and
  // whether the write succeeded.
  void change(const std::string& kind, const std::vector<std::pair<std::string, std::string>>& where,
              const std::optional<std::string>& old, const std::string& value, bool written);

  // One thing the uninstaller removed or left ("file", "shared-file", "shortcut", "group",
  // "folder", "ini", "registry-value", "registry-key"): what, whether it went, and when it
  // stayed, why ("shared and still used", "kept by the user's answer", "folder not empty",
  // "could not be removed").
  void removal(const std::string& kind, const std::string& target, bool removed,
               const std::string& why = "");

  // One file the builder put into a package: where from, the disk, its name there, whether it
  // is stored compressed (SZDD), and its size.
  void packaged(const std::string& source, int disk, const std::string& target, bool compressed,
                long long bytes);

  // Any other action ("folder" created, "command" started, "group", "shortcut"): its fields
  // in order.
  void action(const std::string& action,
              const std::vector<std::pair<std::string, std::string>>& fields);

  // The last line of the run: the counts of the decisions, the exit status and what it means,
  // and the same as one sentence for a person.
  void summary(int exitStatus, const std::string& meaning);

  // The sentence of summary().
  std::string summaryText(int exitStatus, const std::string& meaning) const;

 private:
  // A line begun with the program's name (and the plan marker).
  JsonLine begin() const;
  void write(JsonLine& line);

  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  Program program_ = Program::Setup;
  std::string path_;
  std::FILE* err_ = stderr;
  std::unique_ptr<std::FILE, Closer> out_;  // opened at the first line, kept for the run
  bool failed_ = false;
  bool plan_ = false;
  std::map<std::string, long> decisions_;
  std::map<std::string, long> changes_;  // successful writes by kind
  std::map<std::string, long> removed_;  // removals by kind
  long left_ = 0;                        // things the uninstaller left
  long packagedFiles_ = 0;               // the builder's files and bytes, and their disks
  long long packagedBytes_ = 0;
  std::set<int> disks_;
};

}  // namespace vandrel::ui
