// Libraries of the machine loaded as host shared objects (a Windows path mapped to its host file).
#pragma once

#include "platform/file_system.h"
#include "platform/library_loader.h"

namespace vandrel::platform::emulated {

class HostLibraryLoader : public LibraryLoader {
 public:
  explicit HostLibraryLoader(FileSystem& files) : files_(files) {}
  std::unique_ptr<Library> load(const std::string& path) override;

 private:
  FileSystem& files_;
};

}  // namespace vandrel::platform::emulated
