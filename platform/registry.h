// The Windows registry: keys by handle, typed values, Windows return codes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace vandrel::platform {

using HKey = std::uint32_t;

namespace hkey {
constexpr HKey ClassesRoot = 0x80000000u;
constexpr HKey CurrentUser = 0x80000001u;
constexpr HKey LocalMachine = 0x80000002u;
constexpr HKey Users = 0x80000003u;
}  // namespace hkey

namespace regtype {
constexpr std::uint32_t None = 0;
constexpr std::uint32_t Sz = 1;
constexpr std::uint32_t ExpandSz = 2;
constexpr std::uint32_t Binary = 3;
constexpr std::uint32_t Dword = 4;
constexpr std::uint32_t MultiSz = 7;
}  // namespace regtype

class Registry {
 public:
  virtual ~Registry() = default;

  // Each call returns a Windows error code (error::Success on success).
  // Key paths use "\" between names; names are matched without regard to case.
  virtual long createKey(HKey parent, const std::string& subKey, HKey& result,
                         bool* created = nullptr) = 0;                            // RegCreateKeyExA
  virtual long openKey(HKey parent, const std::string& subKey, HKey& result) = 0;  // RegOpenKeyExA
  // RegQueryValueExA; an empty name is the key's default value.
  virtual long queryValue(HKey key, const std::string& name, std::uint32_t& type, Bytes& data) = 0;
  virtual long setValue(HKey key, const std::string& name, std::uint32_t type,
                        const Bytes& data) = 0;                                  // RegSetValueExA
  virtual long deleteValue(HKey key, const std::string& name) = 0;               // RegDeleteValueA
  // RegDeleteKeyA: on Windows 95/98 machines removes the key with its subkeys; on NT
  // machines refuses (AccessDenied) a key that has subkeys.
  virtual long deleteKey(HKey parent, const std::string& subKey) = 0;
  virtual long closeKey(HKey key) = 0;                                           // RegCloseKey
  // RegEnumKeyA / RegEnumValueA: NoMoreItems past the last one.
  virtual long enumKey(HKey key, std::uint32_t index, std::string& name) = 0;
  virtual long enumValue(HKey key, std::uint32_t index, std::string& name, std::uint32_t& type,
                         Bytes& data) = 0;

  // The calls until endBatch() are a long run of changes (the setup's registry entries): a
  // store may keep them in fewer, larger transactions. Each call still succeeds or fails as a
  // whole and sees what the calls before it did. endBatch() is false when the store lost
  // changes whose calls had succeeded (it failed to keep the batch). Batches may nest.
  virtual void beginBatch() {}
  virtual bool endBatch() { return true; }

  // Conveniences over the calls above. REG_SZ data is stored with its terminating zero,
  // as Windows does; queryString drops it.
  long setString(HKey key, const std::string& name, const std::string& value);
  long queryString(HKey key, const std::string& name, std::string& value);
  long setDword(HKey key, const std::string& name, std::uint32_t value);
  long queryDword(HKey key, const std::string& name, std::uint32_t& value);
};

}  // namespace vandrel::platform
