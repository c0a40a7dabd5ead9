// Fuzz target: the SZDD expander, whole-buffer and streaming, and the compressor's round trip.
#include <algorithm>
#include <cstring>

#include "fuzz/fuzz_target.h"
#include "platform/formats/szdd.h"

namespace szdd = vandrel::platform::szdd;
using vandrel::platform::Bytes;

namespace {

// The streaming expander fed in small uneven pieces must agree with the whole-buffer one:
// the pieces put group and match boundaries everywhere.
void checkStreaming(const Bytes& input, szdd::Status whole, const Bytes& expanded) {
  std::size_t offset = 0;
  std::size_t step = 0;
  szdd::Source source = [&](std::uint8_t* buffer, std::size_t count) -> std::int64_t {
    std::size_t piece = std::min({count, input.size() - offset, 1 + (step++ % 7)});
    if (piece) std::memcpy(buffer, input.data() + offset, piece);
    offset += piece;
    return std::int64_t(piece);
  };
  Bytes streamed;
  std::uint64_t written = 0;
  szdd::Status status = szdd::expand(source, szdd::memorySink(streamed), &written);
  FUZZ_CHECK(status == whole);
  FUZZ_CHECK(written == streamed.size());
  if (status == szdd::Status::Ok) FUZZ_CHECK(streamed == expanded);
}

// Whatever the bytes, compressing and expanding them gives them back.
void checkRoundTrip(const Bytes& data, bool lazy) {
  szdd::CompressOptions options;
  options.lazy = lazy;
  options.maxChain = lazy ? 256 : 4;
  Bytes packed = szdd::compress(data, 'x', options);
  std::optional<szdd::Header> header = szdd::parseHeader(packed.data(), packed.size());
  FUZZ_CHECK(header.has_value());
  FUZZ_CHECK(header->length == data.size());
  Bytes unpacked;
  FUZZ_CHECK(szdd::expand(packed, unpacked) == szdd::Status::Ok);
  FUZZ_CHECK(unpacked == data);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > vandrel::fuzz::kMaxInput) return 0;
  Bytes input(data, data + size);

  Bytes expanded;
  szdd::Status status = szdd::expand(input, expanded);
  (void)szdd::describe(status);
  std::optional<szdd::Header> header = szdd::parseHeader(data, size);
  FUZZ_CHECK(header.has_value() == (size >= szdd::HeaderSize && szdd::hasMagic(data, size)));
  if (status == szdd::Status::Ok) {
    FUZZ_CHECK(header.has_value());
    FUZZ_CHECK(expanded.size() == header->length);
  }
  checkStreaming(input, status, expanded);
  checkRoundTrip(input, size % 2 == 0);
  return 0;
}
