// The marks a removal keeps in the registry of the usage counts it has released.
#include "uninstall/removal_record.h"

#include <cstdio>
#include <random>
#include <vector>

#include "platform/registry_update.h"
#include "platform/text/text_rules.h"

namespace vandrel::uninstall {

namespace {

using platform::error::Success;

// A new run id: 16 hexadecimal digits, unlikely to repeat across the runs of one folder.
std::string newRunId() {
  std::random_device source;
  unsigned long long id = (static_cast<unsigned long long>(source()) << 32) ^ source();
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", id);
  return text;
}

// The names of every value of a key.
std::vector<std::string> valueNames(platform::Registry& registry, platform::HKey key) {
  std::vector<std::string> values;
  std::string name;
  std::uint32_t type = 0;
  platform::Bytes data;
  for (std::uint32_t i = 0; registry.enumValue(key, i, name, type, data) == Success; ++i) {
    values.push_back(name);
  }
  return values;
}

}  // namespace

RemovalRecord::RemovalRecord(platform::Registry& registry, platform::Profile& profile,
                             const std::string& installFolder, const std::string& scriptPath)
    : registry_(registry), profile_(profile), folderKey_(text::toUpper(installFolder)), scriptPath_(scriptPath) {}

std::string RemovalRecord::folderPrefix() const { return folderKey_ + "|"; }
std::string RemovalRecord::prefix() const { return script::removalMarkPrefix(folderKey_, runId_); }

void RemovalRecord::begin() {
  runId_ = script::removalRunOf(profile_, scriptPath_);
  marks_.clear();
  for (const script::RemovalMark& mark : script::removalMarks(registry_, folderKey_, runId_)) marks_.insert(mark.file);
  // Marks of this folder under another id (or any, when the script names no run) were left by
  // a removal killed before the folder's present installation was made: they say nothing
  // about its counts.
  dropMarks(false);
  platform::HKey key = 0;
  if (registry_.createKey(platform::hkey::LocalMachine, kRemovalMarksKey, key) == Success) {
    registry_.setDword(key, removingNote(), 1);
    registry_.closeKey(key);
  }
}

std::string RemovalRecord::removingNote() const { return folderPrefix() + "removing"; }

void RemovalRecord::name() {
  if (!runId_.empty()) return;
  runId_ = newRunId();
  profile_.writeString(scriptPath_, kRemovalSection, std::string(kRemovalRunKey), runId_);
  profile_.flush();
}

long RemovalRecord::mark(const std::string& pathKey) {
  platform::HKey key = 0;
  long rc = registry_.createKey(platform::hkey::LocalMachine, kRemovalMarksKey, key);
  if (rc != Success) return rc;
  rc = registry_.setDword(key, prefix() + pathKey, 1);
  registry_.closeKey(key);
  if (rc == Success) marks_.insert(pathKey);
  return rc;
}

void RemovalRecord::finish() {
  dropMarks(true);
  marks_.clear();
}

// Deletes this run's marks (onlyThisRun) or the other runs' marks of the folder, and the key
// once it holds none, as one change: a removal of another folder that marks meanwhile keeps
// the key.
void RemovalRecord::dropMarks(bool onlyThisRun) {
  const std::string folder = folderPrefix();
  const std::string mine = prefix();
  platform::updateRegistry(registry_, [&] {
    platform::HKey key = 0;
    if (registry_.openKey(platform::hkey::LocalMachine, kRemovalMarksKey, key) != Success) return Success;
    bool othersLeft = false;
    for (const std::string& name : valueNames(registry_, key)) {
      // A run without an id marked nothing: only the folder's note is its own.
      const bool ownMark = !runId_.empty() && name.starts_with(mine);
      const bool drop = onlyThisRun ? ownMark || name == removingNote() : name.starts_with(folder) && !ownMark;
      if (drop) {
        registry_.deleteValue(key, name);
      } else {
        othersLeft = true;
      }
    }
    registry_.closeKey(key);
    if (!othersLeft) registry_.deleteKey(platform::hkey::LocalMachine, kRemovalMarksKey);
    return Success;
  });
}

}  // namespace vandrel::uninstall
