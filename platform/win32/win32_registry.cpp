// The registry through the Windows registry calls.
#include "platform/win32/win32_registry.h"

#include <windows.h>

namespace vandrel::platform::win32 {

namespace {

HKEY asKey(void* key) { return static_cast<HKEY>(key); }

// Keys are opened for everything first; a key the user may only read is opened for reading.
LONG openSystemKey(HKEY parent, const std::string& subKey, HKEY& opened) {
  LONG rc = RegOpenKeyExA(parent, subKey.c_str(), 0, KEY_ALL_ACCESS, &opened);
  if (rc == ERROR_ACCESS_DENIED) rc = RegOpenKeyExA(parent, subKey.c_str(), 0, KEY_READ, &opened);
  return rc;
}

}  // namespace

Win32Registry::~Win32Registry() {
  for (auto& [handle, key] : open_) RegCloseKey(asKey(key));
}

void* Win32Registry::systemKey(HKey key) const {
  switch (key) {
    case hkey::ClassesRoot: return HKEY_CLASSES_ROOT;
    case hkey::CurrentUser: return HKEY_CURRENT_USER;
    case hkey::LocalMachine: return HKEY_LOCAL_MACHINE;
    case hkey::Users: return HKEY_USERS;
  }
  auto found = open_.find(key);
  return found == open_.end() ? nullptr : found->second;
}

HKey Win32Registry::remember(void* systemKey) {
  HKey handle = next_++;
  open_[handle] = systemKey;
  return handle;
}

long Win32Registry::createKey(HKey parent, const std::string& subKey, HKey& result, bool* created) {
  void* base = systemKey(parent);
  if (!base) return error::InvalidHandle;
  HKEY key = nullptr;
  DWORD disposition = 0;
  LONG rc = RegCreateKeyExA(asKey(base), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &key, &disposition);
  if (rc != ERROR_SUCCESS) return rc;
  if (created) *created = disposition == REG_CREATED_NEW_KEY;
  result = remember(key);
  return error::Success;
}

long Win32Registry::openKey(HKey parent, const std::string& subKey, HKey& result) {
  void* base = systemKey(parent);
  if (!base) return error::InvalidHandle;
  HKEY key = nullptr;
  LONG rc = openSystemKey(asKey(base), subKey, key);
  if (rc != ERROR_SUCCESS) return rc;
  result = remember(key);
  return error::Success;
}

long Win32Registry::queryValue(HKey key, const std::string& name, std::uint32_t& type,
                               Bytes& data) {
  void* base = systemKey(key);
  if (!base) return error::InvalidHandle;
  DWORD size = 0, valueType = 0;
  LONG rc = RegQueryValueExA(asKey(base), name.c_str(), nullptr, &valueType, nullptr, &size);
  // The value may grow between the two calls: ask again with the new size.
  while (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
    data.assign(size, 0);
    rc = RegQueryValueExA(asKey(base), name.c_str(), nullptr, &valueType, data.data(), &size);
    if (rc == ERROR_SUCCESS) {
      data.resize(size);
      type = valueType;
      return error::Success;
    }
  }
  return rc;
}

long Win32Registry::setValue(HKey key, const std::string& name, std::uint32_t type,
                             const Bytes& data) {
  void* base = systemKey(key);
  if (!base) return error::InvalidHandle;
  return RegSetValueExA(asKey(base), name.c_str(), 0, type, data.data(), DWORD(data.size()));
}

long Win32Registry::deleteValue(HKey key, const std::string& name) {
  void* base = systemKey(key);
  if (!base) return error::InvalidHandle;
  return RegDeleteValueA(asKey(base), name.c_str());
}

long Win32Registry::deleteKey(HKey parent, const std::string& subKey) {
  void* base = systemKey(parent);
  if (!base) return error::InvalidHandle;
  return RegDeleteKeyA(asKey(base), subKey.c_str());
}

long Win32Registry::closeKey(HKey key) {
  auto found = open_.find(key);
  if (found == open_.end()) return systemKey(key) ? error::Success : error::InvalidHandle;
  LONG rc = RegCloseKey(asKey(found->second));
  open_.erase(found);
  return rc;
}

long Win32Registry::enumKey(HKey key, std::uint32_t index, std::string& name) {
  void* base = systemKey(key);
  if (!base) return error::InvalidHandle;
  char buffer[MAX_PATH + 1];
  LONG rc = RegEnumKeyA(asKey(base), index, buffer, sizeof buffer);
  if (rc == ERROR_SUCCESS) name = buffer;
  return rc;
}

long Win32Registry::enumValue(HKey key, std::uint32_t index, std::string& name,
                              std::uint32_t& type, Bytes& data) {
  void* base = systemKey(key);
  if (!base) return error::InvalidHandle;
  DWORD longestName = 0, longestData = 0;
  LONG rc = RegQueryInfoKeyA(asKey(base), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, &longestName, &longestData, nullptr, nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  std::string nameBuffer(longestName + 1, '\0');
  Bytes dataBuffer(longestData);
  DWORD nameLength = longestName + 1, dataLength = longestData, valueType = 0;
  rc = RegEnumValueA(asKey(base), index, nameBuffer.data(), &nameLength, nullptr, &valueType,
                     dataBuffer.data(), &dataLength);
  if (rc != ERROR_SUCCESS) return rc;
  name.assign(nameBuffer.data(), nameLength);
  dataBuffer.resize(dataLength);
  data = std::move(dataBuffer);
  type = valueType;
  return error::Success;
}

}  // namespace vandrel::platform::win32
