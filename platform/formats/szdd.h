// SZDD compressed files (the COMPRESS format): header, streaming compressor and expander.
//
// Layout: the 8-byte magic, the method byte 'A', the character the compressed file's name
// lost (its last one, replaced by "_"), the expanded length (32 bits, little-endian), then
// LZSS data: a flag byte whose bits (least significant first) say literal (1) or match (0)
// for the next eight items; a match is two bytes holding a 12-bit window position and the
// length minus 3 (lengths 3..18). The 4096-byte window starts filled with spaces and is
// written from position 4096 - 16.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/types.h"

namespace vandrel::platform::szdd {

inline constexpr std::uint8_t Magic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
inline constexpr std::uint8_t MethodA = 'A';
inline constexpr std::size_t HeaderSize = 14;
inline constexpr std::size_t WindowSize = 4096;
inline constexpr std::size_t WindowStart = WindowSize - 16;
inline constexpr std::size_t MinMatch = 3;
inline constexpr std::size_t MaxMatch = 18;

struct Header {
  std::uint8_t method = MethodA;
  std::uint8_t missingChar = 0;
  std::uint32_t length = 0;  // expanded length
};

enum class Status {
  Ok,
  NotCompressed,  // no SZDD magic: an ordinary file
  UnknownMethod,  // SZDD magic with a method other than 'A'
  Truncated,      // the data ends before the expanded length is reached
  Corrupt,        // the data expands to more than the expanded length
  TooLarge,       // more than 4 GiB - 1 bytes to compress
  ReadFailed,
  WriteFailed,
};

// One line of text for a status, for messages ("the compressed data is truncated").
const char* describe(Status status);

// True when data starts with the SZDD magic.
bool hasMagic(const std::uint8_t* data, std::size_t size);
// The header of an SZDD file; nullopt when data is shorter than a header or lacks the magic.
std::optional<Header> parseHeader(const std::uint8_t* data, std::size_t size);
void writeHeader(const Header& header, std::uint8_t* out);  // HeaderSize bytes

// A byte source: fills up to count bytes, returns the number read, 0 at the end, -1 on error.
using Source = std::function<std::int64_t(std::uint8_t* buffer, std::size_t count)>;
// A byte sink: false when the bytes could not all be written.
using Sink = std::function<bool(const std::uint8_t* data, std::size_t count)>;

// Expands an SZDD stream (header included) from source into sink, a block at a time.
// written (optional) receives the number of bytes given to the sink. A stream that stops
// early, or whose data does not expand to exactly the header's length, is an error; the
// sink may then have received part of the output.
Status expand(const Source& source, const Sink& sink, std::uint64_t* written = nullptr);
// Whole-buffer form: out receives the expanded bytes on success.
Status expand(const Bytes& compressed, Bytes& out);

// Compression effort: how many earlier positions are tried for each match.
struct CompressOptions {
  unsigned maxChain = 256;
  bool lazy = true;  // look one byte ahead before taking a match
};

// Compresses exactly length bytes read from source into an SZDD stream written to sink.
// A source that ends before length bytes gives Truncated (the sink then has a partial file).
Status compress(const Source& source, std::uint64_t length, std::uint8_t missingChar,
                const Sink& sink, const CompressOptions& options = {});
// Whole-buffer form.
Bytes compress(const Bytes& data, std::uint8_t missingChar = 0,
               const CompressOptions& options = {});

// Source and sink over memory, for the whole-buffer forms and tests.
Source memorySource(const std::uint8_t* data, std::size_t size);
Sink memorySink(Bytes& out);

}  // namespace vandrel::platform::szdd
