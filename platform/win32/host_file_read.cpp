// Whole host files read with a size limit, through the Windows file calls.
#include <windows.h>

#include <algorithm>
#include <system_error>
#include <vector>

#include "platform/bounded_read.h"

namespace vandrel::platform {

namespace {

constexpr DWORD kBlock = 1 << 16;

std::string systemMessage(DWORD code) { return std::system_category().message(int(code)); }

}  // namespace

std::optional<std::string> readHostFileBounded(const std::filesystem::path& path,
                                               std::uint64_t limit, std::string* reason) {
  auto fail = [&](std::string why) -> std::optional<std::string> {
    if (reason) *reason = std::move(why);
    return std::nullopt;
  };
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return fail("is a folder, not a file");
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return fail("does not exist");
    return fail("cannot be opened (" + systemMessage(error) + ")");
  }
  LARGE_INTEGER size;
  if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) &&
      std::uint64_t(size.QuadPart) > limit) {
    CloseHandle(file);
    return fail(tooLarge(limit));
  }
  std::string text;
  std::vector<char> block(kBlock);
  for (;;) {
    std::uint64_t room = limit + 1 - text.size();
    DWORD got = 0;
    if (!ReadFile(file, block.data(), DWORD(std::min<std::uint64_t>(kBlock, room)), &got, nullptr)) {
      DWORD error = GetLastError();
      CloseHandle(file);
      return fail("cannot be read (" + systemMessage(error) + ")");
    }
    if (got == 0) break;
    text.append(block.data(), got);
    if (text.size() > limit) {
      CloseHandle(file);
      return fail(tooLarge(limit));
    }
  }
  CloseHandle(file);
  return text;
}

}  // namespace vandrel::platform
