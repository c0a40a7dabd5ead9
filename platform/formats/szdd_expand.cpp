// The SZDD expander: LZSS decoding a block at a time, with every read bounds-checked.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/formats/szdd.h"

namespace vandrel::platform::szdd {
namespace {

// The longest flag group: one flag byte and eight two-byte matches.
constexpr std::size_t MaxGroupIn = 1 + 8 * 2;
// The most one group can write.
constexpr std::size_t MaxGroupOut = 8 * MaxMatch;

// Reads the compressed stream in blocks; keeps at least one whole group in view.
class InputBuffer {
 public:
  explicit InputBuffer(const Source& source) : source_(source), data_(1 << 16) {}

  // Makes at least `want` bytes available unless the stream ends first. False on a read error.
  bool fill(std::size_t want) {
    if (end_ - pos_ >= want || eof_) return true;
    std::memmove(data_.data(), data_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
    while (end_ < want && !eof_) {
      std::int64_t n = source_(data_.data() + end_, data_.size() - end_);
      if (n < 0) return false;
      if (n == 0) eof_ = true;
      end_ += std::size_t(n);
    }
    return true;
  }
  std::size_t available() const { return end_ - pos_; }
  const std::uint8_t* current() const { return data_.data() + pos_; }
  void consume(std::size_t n) { pos_ += n; }

 private:
  const Source& source_;
  std::vector<std::uint8_t> data_;
  std::size_t pos_ = 0, end_ = 0;
  bool eof_ = false;
};

// The output block, preceded by the last WindowSize bytes written (spaces at first), so that
// every match source is an ordinary offset back from the write position.
class OutputBuffer {
 public:
  explicit OutputBuffer(const Sink& sink) : sink_(sink), data_(WindowSize + (1 << 17) + 64, ' ') {}

  std::uint8_t* reserve() {
    if (pos_ + MaxGroupOut + MaxMatch > data_.size()) flush();
    return data_.data() + pos_;
  }
  void advance(std::uint8_t* to) { pos_ = std::size_t(to - data_.data()); }
  bool ok() const { return ok_; }
  std::uint64_t written() const { return written_ + (pos_ - WindowSize); }

  void flush() {
    if (pos_ > WindowSize && ok_) {
      ok_ = sink_(data_.data() + WindowSize, pos_ - WindowSize);
      written_ += pos_ - WindowSize;
    }
    std::memmove(data_.data(), data_.data() + pos_ - WindowSize, WindowSize);
    pos_ = WindowSize;
  }

 private:
  const Sink& sink_;
  std::vector<std::uint8_t> data_;
  std::size_t pos_ = WindowSize;
  std::uint64_t written_ = 0;
  bool ok_ = true;
};

// Copies one match of len bytes from the ring position to out; ring is the current write
// position in the window. Returns the new end of output.
inline std::uint8_t* copyMatch(std::uint8_t* out, unsigned b0, unsigned b1, unsigned& ring) {
  unsigned from = b0 | ((b1 & 0xF0u) << 4);
  unsigned len = (b1 & 0x0Fu) + MinMatch;
  unsigned back = (ring - from) & (WindowSize - 1);
  if (back == 0) back = WindowSize;
  const std::uint8_t* src = out - back;
  if (back >= MaxMatch) {
    std::memcpy(out, src, MaxMatch);  // the buffer has room past len; the excess is rewritten
  } else {
    for (unsigned i = 0; i < len; ++i) out[i] = src[i];
  }
  ring = (ring + len) & (WindowSize - 1);
  return out + len;
}

// Decodes one flag group whose input is all in view and whose output cannot pass the limit.
inline void decodeGroupFast(const std::uint8_t*& in, std::uint8_t*& out, unsigned& ring) {
  unsigned flags = *in++;
  for (int bit = 0; bit < 8; ++bit, flags >>= 1) {
    if (flags & 1u) {
      *out++ = *in++;
      ring = (ring + 1) & (WindowSize - 1);
    } else {
      out = copyMatch(out, in[0], in[1], ring);
      in += 2;
    }
  }
}

// Decodes one of the last groups: each item is checked against the input left and the
// bytes the header still allows (room).
Status decodeGroupChecked(const std::uint8_t*& in, const std::uint8_t* inEnd, std::uint8_t*& out,
                          unsigned& ring, std::uint64_t room) {
  unsigned flags = *in++;
  for (int bit = 0; bit < 8 && in < inEnd; ++bit, flags >>= 1) {
    if (flags & 1u) {
      if (room < 1) return Status::Corrupt;
      *out++ = *in++;
      ring = (ring + 1) & (WindowSize - 1);
      room -= 1;
    } else {
      if (inEnd - in < 2) return Status::Truncated;
      unsigned len = (in[1] & 0x0Fu) + MinMatch;
      if (room < len) return Status::Corrupt;
      out = copyMatch(out, in[0], in[1], ring);
      in += 2;
      room -= len;
    }
  }
  return Status::Ok;
}

}  // namespace

Status expand(const Source& source, const Sink& sink, std::uint64_t* written) {
  if (written) *written = 0;
  InputBuffer input(source);
  if (!input.fill(HeaderSize)) return Status::ReadFailed;
  if (!hasMagic(input.current(), input.available())) return Status::NotCompressed;
  auto header = parseHeader(input.current(), input.available());
  if (!header) return Status::Truncated;
  if (header->method != MethodA) return Status::UnknownMethod;
  input.consume(HeaderSize);

  OutputBuffer output(sink);
  const std::uint64_t length = header->length;
  unsigned ring = WindowStart;
  Status status = Status::Ok;
  for (;;) {
    if (!input.fill(MaxGroupIn)) {
      status = Status::ReadFailed;
      break;
    }
    std::size_t avail = input.available();
    if (avail == 0) break;
    std::uint8_t* out = output.reserve();
    if (!output.ok()) break;
    const std::uint8_t* in = input.current();
    std::uint64_t produced = output.written();
    if (avail >= MaxGroupIn && length - produced >= MaxGroupOut) {
      decodeGroupFast(in, out, ring);
    } else {
      status = decodeGroupChecked(in, in + avail, out, ring, length - produced);
    }
    input.consume(std::size_t(in - input.current()));
    output.advance(out);
    if (status != Status::Ok) break;
  }
  output.flush();
  if (written) *written = output.written();
  if (!output.ok()) return Status::WriteFailed;
  if (status == Status::Ok && output.written() != length) status = Status::Truncated;
  return status;
}

Status expand(const Bytes& compressed, Bytes& out) {
  Bytes result;
  if (auto header = parseHeader(compressed.data(), compressed.size())) {
    // The header's length is not trusted for more than the data could possibly expand to.
    result.reserve(std::min<std::uint64_t>(header->length, compressed.size() * 9ull));
  }
  Status status = expand(memorySource(compressed.data(), compressed.size()), memorySink(result));
  if (status == Status::Ok) out = std::move(result);
  return status;
}

}  // namespace vandrel::platform::szdd
