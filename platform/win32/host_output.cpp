// The host files of a run's records, through the C library and std::filesystem on Windows
// (no FIFOs there; devices and folders are still refused).
#include "platform/host_output.h"

#include <cstdio>

namespace vandrel::platform {

std::optional<std::string> notARegularFile(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::file_status st = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(st) || std::filesystem::is_regular_file(st)) return std::nullopt;
  if (std::filesystem::is_directory(st)) return std::string("is a folder, not a file");
  return std::string("is not a regular file");
}

std::FILE* openHostOutput(const std::filesystem::path& path, bool truncate, std::string* reason) {
  if (std::optional<std::string> why = notARegularFile(path)) {
    if (reason) *reason = *why;
    return nullptr;
  }
  std::FILE* file = _wfopen(path.c_str(), truncate ? L"wb" : L"ab");
  if (!file && reason) *reason = "cannot be opened";
  return file;
}

bool sameHostFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  if (std::filesystem::exists(a, ec) && std::filesystem::exists(b, ec)) {
    bool same = std::filesystem::equivalent(a, b, ec);
    if (!ec) return same;
  }
  std::filesystem::path fa = std::filesystem::weakly_canonical(a, ec);
  if (ec) fa = std::filesystem::absolute(a, ec);
  std::filesystem::path fb = std::filesystem::weakly_canonical(b, ec);
  if (ec) fb = std::filesystem::absolute(b, ec);
  return fa.lexically_normal() == fb.lexically_normal();
}

}  // namespace vandrel::platform
