// Loading the machine's libraries with the host's dynamic loader.
#include "platform/emulated/host_library_loader.h"

#include <dlfcn.h>

namespace vandrel::platform::emulated {
namespace {

class HostLibrary : public Library {
 public:
  explicit HostLibrary(void* handle) : handle_(handle) {}
  ~HostLibrary() override { ::dlclose(handle_); }
  HostLibrary(const HostLibrary&) = delete;
  HostLibrary& operator=(const HostLibrary&) = delete;
  void* symbol(const std::string& name) override { return ::dlsym(handle_, name.c_str()); }

 private:
  void* handle_;
};

}  // namespace

std::unique_ptr<Library> HostLibraryLoader::load(const std::string& path) {
  std::optional<std::filesystem::path> host = files_.hostPath(path);
  if (!host) return nullptr;
  void* handle = ::dlopen(host->c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return nullptr;
  return std::make_unique<HostLibrary>(handle);
}

}  // namespace vandrel::platform::emulated
