// The LZ expansion library of the system (LZStart, LZOpenFileA, LZCopy, LZClose, LZDone).
#pragma once

#include "platform/lz.h"

namespace vandrel::platform::win32 {

class Win32Lz : public Lz {
 public:
  int start() override;
  int openFile(const std::string& path, bool create) override;
  long copy(int src, int dst) override;
  void close(int handle) override;
  void done() override;
};

}  // namespace vandrel::platform::win32
