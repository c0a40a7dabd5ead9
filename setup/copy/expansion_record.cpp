// The record of a running copy phase, and the removal of what a killed one left.
#include "setup/copy/expansion_record.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>

#include "platform/text/text_rules.h"
#include "setup/text_file.h"

namespace vandrel::setup {
namespace {

// The expansion names of the folder, in upper case.
std::set<std::string> expansionNames(platform::FileSystem& files, const std::string& folder) {
  std::set<std::string> names;
  for (const platform::FindData& found : files.find(folder + kExpansionPrefix + "*.TMP")) {
    if (!found.status.isDirectory() && isExpansionName(found.name)) names.insert(text::toUpper(found.name));
  }
  return names;
}

}  // namespace

bool isExpansionName(const std::string& name) {
  if (name.size() != 11 || !text::equalsNoCase(name.substr(0, 3), kExpansionPrefix) ||
      !text::equalsNoCase(name.substr(7), ".TMP"))
    return false;
  return std::all_of(name.begin() + 3, name.begin() + 7, [](unsigned char c) { return std::isxdigit(c) != 0; });
}

bool beginExpansionRecord(platform::FileSystem& files, const std::string& engineFolder) {
  std::string text;
  for (const std::string& name : expansionNames(files, engineFolder)) text += name + "\r\n";
  const std::string path = engineFolder + kExpansionRecord;
  // Written whole where the file system can, so that a kill leaves no half list.
  if (std::optional<bool> written = files.replaceWholeFile(path, text)) return *written;
  std::unique_ptr<platform::File> file = files.create(path);
  return file && file->write(text.data(), text.size()) == std::int64_t(text.size());
}

void endExpansionRecord(platform::FileSystem& files, const std::string& engineFolder) {
  files.deleteFile(engineFolder + kExpansionRecord);
}

int removeExpansionLeftovers(platform::FileSystem& files, const std::string& engineFolder) {
  const std::string path = engineFolder + kExpansionRecord;
  std::optional<std::string> record = readTextFile(files, path);
  if (!record) return 0;
  std::set<std::string> before;
  std::istringstream lines(*record);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    before.insert(text::toUpper(line));
  }
  int removed = 0;
  for (const std::string& name : expansionNames(files, engineFolder)) {
    if (!before.count(name) && files.deleteFile(engineFolder + name)) ++removed;
  }
  files.deleteFile(path);
  return removed;
}

}  // namespace vandrel::setup
