// Directory references ("path,root,optional,label") resolved to full paths.
#include "script/directories.h"

#include "script/schema.h"

namespace vandrel::script {
namespace {

struct Reference {
  std::string path;
  long root = 0;
};

// The path and the root of a [Directories] value; nothing when it has no root field (the
// empty text, or a text without comma).
bool splitReference(std::string_view reference, Reference& out) {
  DirectoryEntry entry = readEntry<DirectoryEntry>(reference);
  if (!entry.root.present()) return false;
  out.path = entry.path.text("");
  out.root = entry.root.number("0");
  return true;
}

std::string dropOneTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

std::string withTrailingBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

}  // namespace

std::string resolveDirectorySetup(std::string_view reference, const DirectoryContext& context) {
  Reference ref;
  if (!splitReference(reference, ref)) return context.engineFolder;
  std::string result;
  switch (ref.root) {
    case 0: result = context.installFolder + "\\" + ref.path; break;
    case 1: result = context.installFolder.substr(0, 2) + "\\" + ref.path; break;
    case 2: result = context.windowsFolder + "\\System\\" + ref.path; break;
    case 3: result = context.windowsFolder + "\\" + ref.path; break;
    default: result = context.installFolder; break;
  }
  return dropOneTrailingBackslash(std::move(result));
}

std::string resolveDirectoryUninstall(std::string_view reference,
                                      const DirectoryContext& context) {
  Reference ref;
  if (!splitReference(reference, ref)) return context.installFolder;
  std::string result;
  switch (ref.root) {
    case 0: result = context.installFolder + "\\" + ref.path; break;
    case 1: result = context.installFolder.substr(0, 2) + "\\" + ref.path; break;
    // The folder the setup engine installed into (on NT the 16-bit "System" folder, not
    // System32), so that a file is removed from where it was put and its shared count is
    // found under the name the setup recorded.
    case 2:
      result = dropOneTrailingBackslash(context.windowsFolder) + "\\System\\" + ref.path;
      break;
    case 3: result = withTrailingBackslash(context.windowsFolder) + ref.path; break;
    default: result = context.installFolder; break;
  }
  return dropOneTrailingBackslash(std::move(result));
}

}  // namespace vandrel::script
