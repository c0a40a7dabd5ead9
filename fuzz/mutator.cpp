// The deterministic mutator of the fuzz driver.
#include "fuzz/mutator.h"

#include <algorithm>
#include <string_view>

namespace vandrel::fuzz {

namespace {

// Values that tend to sit on the edge of size checks and sign conversions.
constexpr std::uint64_t kInterestingValues[] = {
    0, 1, 2, 0x7F, 0x80, 0xFF, 0x100, 0x7FFF, 0x8000, 0xFFFF, 0x10000, 0x7FFFFFFF,
    0x80000000, 0xFFFFFFFF, 0x100000000ull, 0x7FFFFFFFFFFFFFFFull, 0xFFFFFFFFFFFFFFFFull,
    16, 32, 64, 4095, 4096};

// The same edges written as text, for the parsers of INI-style files.
using namespace std::string_view_literals;
const std::string_view kInterestingNumbers[] = {
    "0"sv, "-1"sv, "1"sv, "255"sv, "256"sv, "32767"sv, "-32768"sv, "65535"sv, "65536"sv,
    "2147483647"sv, "-2147483648"sv, "4294967295"sv, "4294967296"sv, "9223372036854775807"sv,
    "99999999999999999999999"sv, "0x"sv, "0xFFFFFFFF"sv, "1e9999"sv, ""sv, "="sv, "["sv, "]"sv,
    ";"sv, "\\"sv, "\""sv, ","sv, "\r\n"sv, "\0"sv, "\xEF\xBB\xBF"sv, "\xFF\xFE"sv, "%"sv,
    "[0]"sv, "\\\\?\\"sv, "hex:"sv, "dword:"sv, "hex(7):"sv};

}  // namespace

std::uint64_t Random::next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::size_t Random::below(std::size_t bound) {
  return bound == 0 ? 0 : static_cast<std::size_t>(next() % bound);
}

Input Mutator::mutate(const Input& input, const Input& other, std::size_t maxSize) {
  Input data(input.begin(), input.begin() + std::min(input.size(), maxSize));
  std::size_t edits = 1 + random_.below(4);
  for (std::size_t i = 0; i < edits; ++i) mutateOnce(data, other, maxSize);
  if (data.size() > maxSize) data.resize(maxSize);
  return data;
}

void Mutator::mutateOnce(Input& data, const Input& other, std::size_t maxSize) {
  // An empty input can only grow.
  std::size_t choice = data.empty() ? 2 : random_.below(11);
  switch (choice) {
    case 0: flipBit(data); break;
    case 1: setByte(data); break;
    case 2: insertBytes(data, maxSize); break;
    case 3: eraseBytes(data); break;
    case 4: copyInside(data, maxSize); break;
    case 5: splice(data, other, maxSize); break;
    case 6: truncate(data); break;
    case 7: interestingBinary(data); break;
    case 8: interestingNumber(data, maxSize); break;
    case 9: shuffleLine(data); break;
    default: flipBit(data); setByte(data); break;
  }
}

void Mutator::flipBit(Input& data) {
  if (data.empty()) return;
  data[random_.below(data.size())] ^= static_cast<std::uint8_t>(1u << random_.below(8));
}

void Mutator::setByte(Input& data) {
  if (data.empty()) return;
  data[random_.below(data.size())] = static_cast<std::uint8_t>(random_.next());
}

void Mutator::insertBytes(Input& data, std::size_t maxSize) {
  if (data.size() >= maxSize) return;
  std::size_t count = std::min<std::size_t>(1 + random_.below(8), maxSize - data.size());
  std::size_t at = random_.below(data.size() + 1);
  std::uint8_t fill = static_cast<std::uint8_t>(random_.next());
  bool repeat = random_.oneIn(2);
  Input bytes(count, fill);
  if (!repeat) {
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random_.next());
  }
  data.insert(data.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin(), bytes.end());
}

void Mutator::eraseBytes(Input& data) {
  if (data.empty()) return;
  std::size_t at = random_.below(data.size());
  std::size_t count = 1 + random_.below(std::min<std::size_t>(data.size() - at, 16));
  data.erase(data.begin() + static_cast<std::ptrdiff_t>(at),
             data.begin() + static_cast<std::ptrdiff_t>(at + count));
}

void Mutator::copyInside(Input& data, std::size_t maxSize) {
  if (data.empty()) return;
  std::size_t from = random_.below(data.size());
  std::size_t count = 1 + random_.below(std::min<std::size_t>(data.size() - from, 64));
  Input chunk(data.begin() + static_cast<std::ptrdiff_t>(from),
              data.begin() + static_cast<std::ptrdiff_t>(from + count));
  std::size_t to = random_.below(data.size() + 1);
  if (random_.oneIn(2) || data.size() + count > maxSize) {
    // Overwrite in place.
    for (std::size_t i = 0; i < count && to + i < data.size(); ++i) data[to + i] = chunk[i];
  } else {
    data.insert(data.begin() + static_cast<std::ptrdiff_t>(to), chunk.begin(), chunk.end());
  }
}

void Mutator::splice(Input& data, const Input& other, std::size_t maxSize) {
  if (other.empty()) return;
  // The head of this input, then the tail of the other one.
  std::size_t keep = random_.below(data.size() + 1);
  std::size_t from = random_.below(other.size());
  data.resize(keep);
  std::size_t room = maxSize > keep ? maxSize - keep : 0;
  std::size_t count = std::min(other.size() - from, room);
  data.insert(data.end(), other.begin() + static_cast<std::ptrdiff_t>(from),
              other.begin() + static_cast<std::ptrdiff_t>(from + count));
}

void Mutator::truncate(Input& data) { data.resize(random_.below(data.size() + 1)); }

void Mutator::interestingBinary(Input& data) {
  std::uint64_t value = kInterestingValues[random_.below(std::size(kInterestingValues))];
  std::size_t width = std::size_t(1) << random_.below(4);  // 1, 2, 4 or 8 bytes
  if (data.size() < width) return;
  std::size_t at = random_.below(data.size() - width + 1);
  bool bigEndian = random_.oneIn(4);
  for (std::size_t i = 0; i < width; ++i) {
    std::size_t shift = 8 * (bigEndian ? width - 1 - i : i);
    data[at + i] = static_cast<std::uint8_t>(value >> shift);
  }
}

void Mutator::interestingNumber(Input& data, std::size_t maxSize) {
  std::string_view text = kInterestingNumbers[random_.below(std::size(kInterestingNumbers))];
  std::size_t at = random_.below(data.size() + 1);
  // Replace a run of digits when the position holds one, else insert.
  std::size_t end = at;
  while (end < data.size() && data[end] >= '0' && data[end] <= '9') ++end;
  data.erase(data.begin() + static_cast<std::ptrdiff_t>(at),
             data.begin() + static_cast<std::ptrdiff_t>(end));
  if (data.size() + text.size() > maxSize) return;
  data.insert(data.begin() + static_cast<std::ptrdiff_t>(at), text.begin(), text.end());
}

void Mutator::shuffleLine(Input& data) {
  // Swap two lines, so that sections and their entries change places.
  std::vector<std::size_t> starts{0};
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (data[i] == '\n') starts.push_back(i + 1);
  }
  if (starts.size() < 3) return;
  std::size_t a = random_.below(starts.size() - 1);
  std::size_t b = random_.below(starts.size() - 1);
  if (a == b) return;
  if (a > b) std::swap(a, b);
  Input lineA(data.begin() + static_cast<std::ptrdiff_t>(starts[a]),
              data.begin() + static_cast<std::ptrdiff_t>(starts[a + 1]));
  Input lineB(data.begin() + static_cast<std::ptrdiff_t>(starts[b]),
              data.begin() + static_cast<std::ptrdiff_t>(starts[b + 1]));
  Input out(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(starts[a]));
  out.insert(out.end(), lineB.begin(), lineB.end());
  out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(starts[a + 1]),
             data.begin() + static_cast<std::ptrdiff_t>(starts[b]));
  out.insert(out.end(), lineA.begin(), lineA.end());
  out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(starts[b + 1]), data.end());
  data = std::move(out);
}

}  // namespace vandrel::fuzz
