// The LZ expansion library over a FileSystem: SZDD files are expanded, others copied unchanged.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/lz.h"

namespace vandrel::platform {

class LzLibrary : public Lz {
 public:
  explicit LzLibrary(FileSystem& files) : files_(files) {}

  int start() override { return 1; }
  int openFile(const std::string& path, bool create) override;
  long copy(int src, int dst) override;
  void close(int handle) override;
  void done() override {}

 private:
  struct Handle {
    std::unique_ptr<File> file;
    std::string path;
    bool writable = false;
  };

  FileSystem& files_;
  std::map<int, Handle> handles_;
  int nextHandle_ = 1;
};

}  // namespace vandrel::platform
