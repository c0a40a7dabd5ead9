// Conveniences over the registry calls: strings and DWORDs.
#include "platform/registry.h"

#include <cstring>

namespace vandrel::platform {

long Registry::setString(HKey key, const std::string& name, const std::string& value) {
  Bytes data(value.begin(), value.end());
  data.push_back(0);  // REG_SZ data carries its terminating zero
  return setValue(key, name, regtype::Sz, data);
}

long Registry::queryString(HKey key, const std::string& name, std::string& value) {
  std::uint32_t type = 0;
  Bytes data;
  long rc = queryValue(key, name, type, data);
  if (rc != error::Success) return rc;
  std::size_t length = 0;
  while (length < data.size() && data[length] != 0) ++length;
  value.assign(reinterpret_cast<const char*>(data.data()), length);
  return error::Success;
}

long Registry::setDword(HKey key, const std::string& name, std::uint32_t value) {
  Bytes data(4);
  for (int i = 0; i < 4; ++i) data[i] = std::uint8_t(value >> (8 * i));
  return setValue(key, name, regtype::Dword, data);
}

long Registry::queryDword(HKey key, const std::string& name, std::uint32_t& value) {
  std::uint32_t type = 0;
  Bytes data;
  long rc = queryValue(key, name, type, data);
  if (rc != error::Success) return rc;
  if (data.size() < 4) return error::InvalidParameter;
  value = 0;
  for (int i = 0; i < 4; ++i) value |= std::uint32_t(data[i]) << (8 * i);
  return error::Success;
}

}  // namespace vandrel::platform
