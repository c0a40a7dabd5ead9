// The registry of the Windows machine the program runs on (RegCreateKeyExA and the rest).
// The platform's key handles are small numbers; each stands for one open system key.
#pragma once

#include <map>

#include "platform/registry.h"

namespace vandrel::platform::win32 {

class Win32Registry : public Registry {
 public:
  ~Win32Registry() override;  // closes the keys still open

  long createKey(HKey parent, const std::string& subKey, HKey& result,
                 bool* created = nullptr) override;
  long openKey(HKey parent, const std::string& subKey, HKey& result) override;
  long queryValue(HKey key, const std::string& name, std::uint32_t& type, Bytes& data) override;
  long setValue(HKey key, const std::string& name, std::uint32_t type, const Bytes& data) override;
  long deleteValue(HKey key, const std::string& name) override;
  long deleteKey(HKey parent, const std::string& subKey) override;
  long closeKey(HKey key) override;
  long enumKey(HKey key, std::uint32_t index, std::string& name) override;
  long enumValue(HKey key, std::uint32_t index, std::string& name, std::uint32_t& type,
                 Bytes& data) override;

 private:
  // The system key behind a handle (a predefined root or one this registry opened); null
  // when the handle is unknown.
  void* systemKey(HKey key) const;
  HKey remember(void* systemKey);

  std::map<HKey, void*> open_;
  HKey next_ = 1;
};

}  // namespace vandrel::platform::win32
