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

std::vector<RemovalMark> removalMarks(platform::Registry& registry,
                                      const std::string& installFolder, const std::string& runId) {
  std::vector<RemovalMark> marks;
  if (runId.empty()) return marks;
  platform::HKey key = 0;
  if (registry.openKey(platform::hkey::LocalMachine, kRemovalMarksKey, key) != Success)
    return marks;
  const std::string prefix = removalMarkPrefix(installFolder, runId);
  std::string name;
  std::uint32_t type = 0;
  platform::Bytes data;
  for (std::uint32_t i = 0; registry.enumValue(key, i, name, type, data) == Success; ++i) {
    if (name.starts_with(prefix)) marks.push_back({name, name.substr(prefix.size())});
  }
  registry.closeKey(key);
  return marks;
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
