// Changes of the registry made of several calls (a read and the write that depends on it),
// kept whole on a registry that several processes share.
#pragma once

#include <functional>

#include "platform/registry.h"

namespace vandrel::platform {

// What a registry shared between processes offers besides the Windows calls.
class UpdatableRegistry {
 public:
  virtual ~UpdatableRegistry() = default;
  // Runs body, whose calls read and write this registry, as one change: no other process's
  // change falls between its reads and its writes. Returns body's result, or the error code
  // that kept the change from being made (and then nothing of it is made). Updates may
  // nest; the outermost one is the change.
  virtual long update(const std::function<long()>& body) = 0;
};

// Runs body as one change of registry where the registry is shared between processes (a
// usage count read, raised and written back); on any other registry body simply runs.
inline long updateRegistry(Registry& registry, const std::function<long()>& body) {
  if (auto* shared = dynamic_cast<UpdatableRegistry*>(&registry)) return shared->update(body);
  return body();
}

}  // namespace vandrel::platform
