// Reading and dropping the marks of the usage counts a removal released.
#include "script/removal_marks.h"

#include "platform/text/text_rules.h"

namespace vandrel::script {

using platform::error::Success;

std::string removalMarkPrefix(const std::string& installFolder, const std::string& runId) {
  return text::toUpper(installFolder) + "|" + runId + "|";
}

std::string removalMarkFile(platform::FileSystem& files, const std::string& path) {
  std::string full = files.fullPath(path);
  if (full.empty()) full = path;
  for (char& c : full) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return full;
}

std::string removalRunOf(platform::Profile& profile, const std::string& scriptPath) {
  return profile.getString(scriptPath, std::string(kRemovalSection), std::string(kRemovalRunKey),
                           "", 64);
}

namespace {

// The names of the marks' values that start with prefix; none when the key is not there.
std::vector<std::string> markNamesStartingWith(platform::Registry& registry, const std::string& prefix) {
  std::vector<std::string> names;
  platform::HKey key = 0;
  if (registry.openKey(platform::hkey::LocalMachine, kRemovalMarksKey, key) != Success) return names;
  std::string name;
  std::uint32_t type = 0;
  platform::Bytes data;
  for (std::uint32_t i = 0; registry.enumValue(key, i, name, type, data) == Success; ++i) {
    if (name.starts_with(prefix)) names.push_back(name);
  }
  registry.closeKey(key);
  return names;
}

}  // namespace

std::vector<RemovalMark> removalMarks(platform::Registry& registry,
                                      const std::string& installFolder, const std::string& runId) {
  std::vector<RemovalMark> marks;
  if (runId.empty()) return marks;
  const std::string prefix = removalMarkPrefix(installFolder, runId);
  for (const std::string& name : markNamesStartingWith(registry, prefix)) {
    marks.push_back({name, name.substr(prefix.size())});
  }
  return marks;
}

bool folderHasRemovalMarks(platform::Registry& registry, const std::string& installFolder) {
  return !markNamesStartingWith(registry, text::toUpper(installFolder) + "|").empty();
}

std::vector<RemovalMark> removalMarksOf(platform::Registry& registry, platform::Profile& profile,
                                        const std::string& installFolder,
                                        const std::string& scriptPath) {
  return removalMarks(registry, installFolder, removalRunOf(profile, scriptPath));
}

long dropRemovalMark(platform::Registry& registry, const std::string& name) {
  platform::HKey key = 0;
  long rc = registry.openKey(platform::hkey::LocalMachine, kRemovalMarksKey, key);
  if (rc != Success) return rc;
  rc = registry.deleteValue(key, name);
  std::string other;
  std::uint32_t type = 0;
  platform::Bytes data;
  const bool empty = registry.enumValue(key, 0, other, type, data) != Success;
  registry.closeKey(key);
  if (rc == Success && empty)
    rc = registry.deleteKey(platform::hkey::LocalMachine, kRemovalMarksKey);
  return rc;
}

}  // namespace vandrel::script
