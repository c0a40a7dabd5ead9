// The LZ expansion library: SZDD files are expanded, any other file is copied unchanged.
#pragma once

#include <string>

namespace vandrel::platform {

namespace lzerror {
constexpr int BadInHandle = -1;
constexpr int BadOutHandle = -2;
constexpr int Read = -3;
constexpr int Write = -4;
constexpr int GlobalAlloc = -5;
constexpr int BadValue = -7;
constexpr int UnknownAlg = -8;
}  // namespace lzerror

class Lz {
 public:
  virtual ~Lz() = default;
  virtual int start() = 0;  // LZStart: 1 on success
  // LZOpenFileA: a handle (0 or more) or a negative lzerror code. create opens the file for
  // writing, emptying it (OF_CREATE); otherwise it is opened for reading (OF_READ).
  virtual int openFile(const std::string& path, bool create) = 0;
  // LZCopy: bytes written to dst, or a negative lzerror code. A truncated or damaged
  // compressed source gives lzerror::Read, never a partial success.
  virtual long copy(int src, int dst) = 0;
  virtual void close(int handle) = 0;  // LZClose
  virtual void done() = 0;             // LZDone
};

}  // namespace vandrel::platform
