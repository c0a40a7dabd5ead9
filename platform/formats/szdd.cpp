// SZDD header handling, status texts and the memory source and sink.
#include "platform/formats/szdd.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace vandrel::platform::szdd {

const char* describe(Status status) {
  switch (status) {
    case Status::Ok: return "ok";
    case Status::NotCompressed: return "the file is not in the SZDD compressed format";
    case Status::UnknownMethod: return "the file uses an unknown compression method";
    case Status::Truncated: return "the compressed data is truncated";
    case Status::Corrupt: return "the compressed data is damaged (it expands past its stated length)";
    case Status::TooLarge: return "the file is too large to compress (4 GiB or more)";
    case Status::ReadFailed: return "the input could not be read";
    case Status::WriteFailed: return "the output could not be written";
  }
  return "unknown error";
}

bool hasMagic(const std::uint8_t* data, std::size_t size) {
  return size >= sizeof Magic && std::memcmp(data, Magic, sizeof Magic) == 0;
}

std::optional<Header> parseHeader(const std::uint8_t* data, std::size_t size) {
  if (size < HeaderSize || !hasMagic(data, size)) return std::nullopt;
  Header header;
  header.method = data[8];
  header.missingChar = data[9];
  header.length = std::uint32_t(data[10]) | std::uint32_t(data[11]) << 8 |
                  std::uint32_t(data[12]) << 16 | std::uint32_t(data[13]) << 24;
  return header;
}

void writeHeader(const Header& header, std::uint8_t* out) {
  std::memcpy(out, Magic, sizeof Magic);
  out[8] = header.method;
  out[9] = header.missingChar;
  for (int i = 0; i < 4; ++i) out[10 + i] = std::uint8_t(header.length >> (8 * i));
}

Source memorySource(const std::uint8_t* data, std::size_t size) {
  auto offset = std::make_shared<std::size_t>(0);
  return [data, size, offset](std::uint8_t* buffer, std::size_t count) -> std::int64_t {
    std::size_t n = std::min(count, size - *offset);
    if (n) std::memcpy(buffer, data + *offset, n);
    *offset += n;
    return std::int64_t(n);
  };
}

Sink memorySink(Bytes& out) {
  return [&out](const std::uint8_t* data, std::size_t count) {
    out.insert(out.end(), data, data + count);
    return true;
  };
}

}  // namespace vandrel::platform::szdd
