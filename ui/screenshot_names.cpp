// Numbering the screenshots of a folder.
#include "ui/screenshot_names.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace vandrel::ui {

namespace {

// The number "012-..." starts with, or 0.
int leadingNumber(const std::string& name) {
  std::size_t digits = 0;
  while (digits < name.size() && digits < 9 && name[digits] >= '0' && name[digits] <= '9') ++digits;
  if (digits == 0 || digits >= name.size() || name[digits] != '-') return 0;
  return std::stoi(name.substr(0, digits));
}

}  // namespace

std::string nextScreenshotPath(const std::string& folder, const std::string& program,
                               const std::string& window, const std::string& extension) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder, error)) {
    std::fprintf(stderr, "vandrel: cannot make the screenshot folder %s\n", folder.c_str());
    return {};
  }
  int highest = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    highest = std::max(highest, leadingNumber(entry.path().filename().string()));
  }
  char number[16];
  std::snprintf(number, sizeof number, "%03d", highest + 1);
  return (fs::path(folder) / (std::string(number) + "-" + program + "-" + window + "." + extension)).string();
}

}  // namespace vandrel::ui
