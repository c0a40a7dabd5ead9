// The SZDD compressor: LZSS over hash chains with one-step lazy matching, a block at a time.
#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/formats/szdd.h"

namespace vandrel::platform::szdd {
namespace {

// Positions are "virtual": the window's initial WindowSize spaces come first, the data
// starts at WindowSize. The window slot of virtual position v is (v - 16) mod WindowSize, so
// the data's first byte lands on slot WindowStart as the expander expects.
constexpr std::int64_t DataStart = WindowSize;
// A match may reach back at most WindowSize - 1 bytes, so that its source slot is never the
// slot being written (whatever order an expander reads and writes in).
constexpr std::int64_t MaxDistance = WindowSize - 1;
constexpr unsigned HashBits = 14;
constexpr std::size_t BlockSize = 1 << 18;

inline unsigned hash3(const std::uint8_t* p) {
  std::uint32_t v = std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
  return (v * 2654435761u) >> (32 - HashBits);
}

// Collects flag groups and hands the output to the sink in large pieces.
class GroupWriter {
 public:
  explicit GroupWriter(const Sink& sink) : sink_(sink) { out_.reserve(1 << 17); }

  void literal(std::uint8_t c) {
    group_[0] |= std::uint8_t(1u << items_);
    group_[used_++] = c;
    next();
  }
  void match(std::int64_t from, std::size_t len) {
    unsigned slot = unsigned(from - 16) & (WindowSize - 1);
    group_[used_++] = std::uint8_t(slot);
    group_[used_++] = std::uint8_t(((slot >> 4) & 0xF0u) | unsigned(len - MinMatch));
    next();
  }
  bool finish() {
    if (items_) out_.insert(out_.end(), group_, group_ + used_);
    items_ = 0;
    used_ = 1;
    return flush();
  }
  bool ok() const { return ok_; }

 private:
  void next() {
    if (++items_ < 8) return;
    out_.insert(out_.end(), group_, group_ + used_);
    group_[0] = 0;
    items_ = 0;
    used_ = 1;
    if (out_.size() >= (1 << 16)) flush();
  }
  bool flush() {
    if (ok_ && !out_.empty()) ok_ = sink_(out_.data(), out_.size());
    out_.clear();
    return ok_;
  }

  const Sink& sink_;
  Bytes out_;
  std::uint8_t group_[1 + 16] = {0};
  unsigned items_ = 0, used_ = 1;
  bool ok_ = true;
};

class Compressor {
 public:
  Compressor(const Source& source, std::uint64_t length, const CompressOptions& options)
      : source_(source), remaining_(length), options_(options),
        buffer_(WindowSize + BlockSize + 2 * MaxMatch, ' '),
        head_(std::size_t(1) << HashBits, -1), prev_(WindowSize, -1) {
    end_ = DataStart;
  }

  Status run(GroupWriter& writer);

 private:
  const std::uint8_t* at(std::int64_t pos) const { return buffer_.data() + (pos - base_); }
  bool ensureLookahead(std::int64_t pos);
  void insertUpTo(std::int64_t pos);
  std::size_t findMatch(std::int64_t pos, std::int64_t& from, unsigned chain);

  const Source& source_;
  std::uint64_t remaining_;
  CompressOptions options_;
  std::vector<std::uint8_t> buffer_;
  std::vector<std::int64_t> head_;
  std::vector<std::int64_t> prev_;
  std::int64_t base_ = 0;      // virtual position of buffer_[0]
  std::int64_t end_ = 0;       // virtual end of the data read so far
  std::int64_t inserted_ = 0;  // positions below this are in the hash chains
  bool readError_ = false;
  bool shortSource_ = false;
};

// Reads more data when fewer than MaxMatch + 1 bytes follow pos; slides the buffer so that
// it keeps the window behind pos. False on a read error.
bool Compressor::ensureLookahead(std::int64_t pos) {
  if (end_ - pos > std::int64_t(MaxMatch) || remaining_ == 0) return true;
  std::int64_t keep = pos - std::int64_t(WindowSize);
  if (keep > base_) {
    std::memmove(buffer_.data(), at(keep), std::size_t(end_ - keep));
    base_ = keep;
  }
  while (remaining_ > 0) {
    std::size_t room = buffer_.size() - std::size_t(end_ - base_);
    if (room == 0) break;
    std::size_t want = std::size_t(std::min<std::uint64_t>(room, remaining_));
    std::int64_t n = source_(buffer_.data() + (end_ - base_), want);
    if (n < 0) {
      readError_ = true;
      return false;
    }
    if (n == 0) {
      shortSource_ = true;
      remaining_ = 0;
      break;
    }
    end_ += n;
    remaining_ -= std::uint64_t(n);
  }
  return true;
}

void Compressor::insertUpTo(std::int64_t pos) {
  // Positions the buffer no longer holds are too far back to be matched anyway.
  if (inserted_ < base_) inserted_ = base_;
  for (; inserted_ < pos; ++inserted_) {
    if (inserted_ + 2 >= end_) continue;  // too near the end to start a match
    unsigned h = hash3(at(inserted_));
    prev_[std::size_t(inserted_) & (WindowSize - 1)] = head_[h];
    head_[h] = inserted_;
  }
}

// The longest earlier occurrence of the bytes at pos (0 when shorter than MinMatch).
std::size_t Compressor::findMatch(std::int64_t pos, std::int64_t& from, unsigned chain) {
  insertUpTo(pos);
  std::size_t limit = std::size_t(std::min<std::int64_t>(MaxMatch, end_ - pos));
  if (limit < MinMatch) return 0;
  const std::uint8_t* here = at(pos);
  std::size_t best = MinMatch - 1;
  std::int64_t lowest = pos - MaxDistance;
  for (std::int64_t cand = head_[hash3(here)]; cand >= lowest && chain > 0; --chain) {
    const std::uint8_t* there = at(cand);
    if (there[best] == here[best] && there[0] == here[0] && there[1] == here[1]) {
      std::size_t len = 2;
      while (len < limit && there[len] == here[len]) ++len;
      if (len > best) {
        best = len;
        from = cand;
        if (len == limit) break;
      }
    }
    cand = prev_[std::size_t(cand) & (WindowSize - 1)];
  }
  return best >= MinMatch ? best : 0;
}

Status Compressor::run(GroupWriter& writer) {
  std::int64_t pos = DataStart;
  std::int64_t from = 0;
  std::size_t len = 0;
  bool pending = false;  // len and from already hold the match at pos
  while (ensureLookahead(pos + 1) && pos < end_) {
    if (!pending) len = findMatch(pos, from, options_.maxChain);
    pending = false;
    if (len == 0) {
      writer.literal(*at(pos));
      ++pos;
      continue;
    }
    if (options_.lazy && len < MaxMatch) {
      std::int64_t nextFrom = 0;
      unsigned chain = len >= 8 ? options_.maxChain / 4 + 1 : options_.maxChain;
      std::size_t next = findMatch(pos + 1, nextFrom, chain);
      if (next > len) {
        writer.literal(*at(pos));
        ++pos;
        len = next;
        from = nextFrom;
        pending = true;
        continue;
      }
    }
    writer.match(from, len);
    pos += std::int64_t(len);
    if (!writer.ok()) return Status::WriteFailed;
  }
  if (readError_) return Status::ReadFailed;
  if (!writer.finish()) return Status::WriteFailed;
  return shortSource_ ? Status::Truncated : Status::Ok;
}

}  // namespace

Status compress(const Source& source, std::uint64_t length, std::uint8_t missingChar,
                const Sink& sink, const CompressOptions& options) {
  if (length > std::numeric_limits<std::uint32_t>::max()) return Status::TooLarge;
  std::uint8_t header[HeaderSize];
  writeHeader(Header{MethodA, missingChar, std::uint32_t(length)}, header);
  if (!sink(header, HeaderSize)) return Status::WriteFailed;
  GroupWriter writer(sink);
  Compressor compressor(source, length, options);
  return compressor.run(writer);
}

Bytes compress(const Bytes& data, std::uint8_t missingChar, const CompressOptions& options) {
  Bytes out;
  out.reserve(HeaderSize + data.size() / 2 + 64);
  compress(memorySource(data.data(), data.size()), data.size(), missingChar, memorySink(out),
           options);
  return out;
}

}  // namespace vandrel::platform::szdd
