// The profile functions of the system.
#include "platform/win32/win32_profile.h"

#include <windows.h>

#include <vector>

namespace vandrel::platform::win32 {

namespace {

const char* orNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

// The text a read left in a buffer of size bytes, without the final terminator: the count
// the call returns, "\0"s of a name list included. A name list cut to fit fills size-2
// characters and two "\0" (the count stops before them): the first of them is part of the
// text. (A default given for a missing section never fills the buffer that way: it is cut to
// size-1 characters.)
template <typename Read>
std::string readInto(std::size_t size, bool list, Read read) {
  std::vector<char> buffer(size == 0 ? 1 : size, '\0');
  DWORD count = read(buffer.data(), DWORD(size));
  std::string text(buffer.data(), count);
  if (list && size >= 3 && count == size - 2 && buffer[count - 1] != '\0') text += '\0';
  return text;
}

}  // namespace

std::string Win32Profile::getString(const std::string& file, const std::optional<std::string>& section,
                                    const std::optional<std::string>& key, const std::string& def,
                                    std::size_t size) {
  return readInto(size, !section || !key, [&](char* buffer, DWORD length) {
    return GetPrivateProfileStringA(orNull(section), orNull(key), def.c_str(), buffer, length,
                                    file.c_str());
  });
}

int Win32Profile::getInt(const std::string& file, const std::string& section,
                         const std::string& key, int def) {
  return int(GetPrivateProfileIntA(section.c_str(), key.c_str(), def, file.c_str()));
}

bool Win32Profile::writeString(const std::string& file, const std::string& section,
                               const std::optional<std::string>& key,
                               const std::optional<std::string>& value) {
  return WritePrivateProfileStringA(section.c_str(), orNull(key), orNull(value), file.c_str()) != 0;
}

std::string Win32Profile::getProfileString(const std::optional<std::string>& section,
                                           const std::optional<std::string>& key,
                                           const std::string& def, std::size_t size) {
  return readInto(size, !section || !key, [&](char* buffer, DWORD length) {
    return GetProfileStringA(orNull(section), orNull(key), def.c_str(), buffer, length);
  });
}

bool Win32Profile::writeProfileString(const std::string& section,
                                      const std::optional<std::string>& key,
                                      const std::optional<std::string>& value) {
  return WriteProfileStringA(section.c_str(), orNull(key), orNull(value)) != 0;
}

}  // namespace vandrel::platform::win32
