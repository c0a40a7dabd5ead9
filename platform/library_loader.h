// Dynamic-link libraries: loading one by its Windows path and finding its exported functions.
#pragma once

#include <memory>
#include <string>

namespace vandrel::platform {

// A loaded library; unloaded (FreeLibrary) when destroyed.
class Library {
 public:
  virtual ~Library() = default;
  // GetProcAddress: the exported function, or null when the library has none of that name.
  virtual void* symbol(const std::string& name) = 0;
};

class LibraryLoader {
 public:
  virtual ~LibraryLoader() = default;
  // LoadLibraryA: the library at a Windows path; null when it is missing or cannot be loaded.
  virtual std::unique_ptr<Library> load(const std::string& path) = 0;
};

}  // namespace vandrel::platform
