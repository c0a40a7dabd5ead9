// Path helpers shared by the builder's document commands.
#include "builder/generate/builder_context.h"

namespace vandrel::builder {

std::string joinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '\\' || folder.back() == '/') return folder + name;
  return folder + "\\" + name;
}

std::string pathBesideDocument(const std::string& documentPath, const std::string& folder) {
  bool rooted = (folder.size() >= 2 && folder[1] == ':') ||
                (!folder.empty() && (folder[0] == '\\' || folder[0] == '/'));
  std::size_t cut = documentPath.find_last_of("\\/");
  if (rooted || cut == std::string::npos) return folder;
  std::string base = documentPath.substr(0, cut);
  if (folder.empty() || folder == ".") return base;
  return joinPath(base, folder.rfind(".\\", 0) == 0 ? folder.substr(2) : folder);
}

std::string withBackslash(const std::string& folder) {
  if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder;
  return folder + "\\";
}

bool makeFolders(platform::FileSystem& files, const std::string& folder) {
  std::string path = folder;
  while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  if (auto s = files.status(path); s && s->isDirectory()) return true;
  std::size_t cut = path.find_last_of("\\/");
  if (cut != std::string::npos && cut > 2 && !makeFolders(files, path.substr(0, cut))) {
    return false;
  }
  files.createDirectory(path);
  auto s = files.status(path);
  return s && s->isDirectory();
}

std::optional<std::uint64_t> fileSize(platform::FileSystem& files, const std::string& path) {
  // The change stamp tells the size without what status() may look up besides (creation
  // time and attributes), once per file of the document in each check.
  std::optional<platform::FileSystem::ChangeStamp> stamp = files.changeStamp(path);
  if (!stamp) return std::nullopt;
  return stamp->size;
}

}  // namespace vandrel::builder
