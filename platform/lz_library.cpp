// LZ library handles and the copy: expansion of SZDD sources, a plain copy of anything else.
#include "platform/lz_library.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "platform/formats/szdd.h"

namespace vandrel::platform {
namespace {

szdd::Sink fileSink(File& file, std::uint64_t& written) {
  return [&file, &written](const std::uint8_t* data, std::size_t count) {
    std::int64_t n = file.write(data, count);
    if (n > 0) written += std::uint64_t(n);
    return n == std::int64_t(count);
  };
}

// A source that hands out the first bytes already read before the rest of the file.
szdd::Source prefixedSource(const std::uint8_t* prefix, std::size_t size, File& file) {
  auto used = std::make_shared<std::size_t>(0);
  return [prefix, size, used, &file](std::uint8_t* buffer, std::size_t count) -> std::int64_t {
    if (*used < size) {
      std::size_t n = std::min(count, size - *used);
      std::copy(prefix + *used, prefix + *used + n, buffer);
      *used += n;
      return std::int64_t(n);
    }
    return file.read(buffer, count);
  };
}

}  // namespace

int LzLibrary::openFile(const std::string& path, bool create) {
  std::unique_ptr<File> file = create ? files_.create(path) : files_.open(path, OpenMode::Read);
  if (!file) return create ? lzerror::BadOutHandle : lzerror::BadInHandle;
  if (nextHandle_ == INT_MAX) return lzerror::GlobalAlloc;
  int handle = nextHandle_++;
  handles_[handle] = Handle{std::move(file), path, create};
  return handle;
}

long LzLibrary::copy(int src, int dst) {
  auto in = handles_.find(src);
  if (in == handles_.end() || in->second.writable) return lzerror::BadInHandle;
  auto out = handles_.find(dst);
  if (out == handles_.end() || !out->second.writable) return lzerror::BadOutHandle;
  File& source = *in->second.file;
  File& target = *out->second.file;

  // The first bytes say whether the source is compressed.
  std::uint8_t head[szdd::HeaderSize];
  std::size_t headSize = 0;
  while (headSize < sizeof head) {
    std::int64_t n = source.read(head + headSize, sizeof head - headSize);
    if (n < 0) return lzerror::Read;
    if (n == 0) break;
    headSize += std::size_t(n);
  }
  std::uint64_t written = 0;
  szdd::Source input = prefixedSource(head, headSize, source);
  szdd::Sink output = fileSink(target, written);
  szdd::Status status;
  if (szdd::hasMagic(head, headSize)) {
    status = szdd::expand(input, output);
  } else {
    status = szdd::Status::Ok;
    std::uint8_t buffer[1 << 15];
    for (;;) {
      std::int64_t n = input(buffer, sizeof buffer);
      if (n < 0) status = szdd::Status::ReadFailed;
      if (n <= 0) break;
      if (!output(buffer, std::size_t(n))) {
        status = szdd::Status::WriteFailed;
        break;
      }
    }
  }
  switch (status) {
    case szdd::Status::Ok:
      return written > LONG_MAX ? LONG_MAX : long(written);
    case szdd::Status::WriteFailed:
      return lzerror::Write;
    case szdd::Status::UnknownMethod:
      return lzerror::UnknownAlg;
    default:
      break;
  }
  // A damaged or truncated source: empty the destination again rather than leave part of
  // the expanded file behind as if it were whole.
  if (auto fresh = files_.create(out->second.path)) out->second.file = std::move(fresh);
  return lzerror::Read;
}

void LzLibrary::close(int handle) { handles_.erase(handle); }

}  // namespace vandrel::platform
