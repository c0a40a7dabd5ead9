// Deterministic mutations of fuzz inputs: the same seed always gives the same sequence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vandrel::fuzz {

using Input = std::vector<std::uint8_t>;

// A small fast generator (splitmix64); the standard engines differ between libraries in
// their distributions, this one gives the same numbers everywhere.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next();
  // A number in [0, bound); 0 when bound is 0.
  std::size_t below(std::size_t bound);
  bool oneIn(std::size_t n) { return below(n) == 0; }

 private:
  std::uint64_t state_;
};

class Mutator {
 public:
  explicit Mutator(std::uint64_t seed) : random_(seed) {}

  // A variant of input made by one to four stacked edits (bit flips, byte changes,
  // inserts, deletes, copies inside the input, splices with other, truncation, interesting
  // binary and decimal values). The result never exceeds maxSize bytes.
  Input mutate(const Input& input, const Input& other, std::size_t maxSize);

  Random& random() { return random_; }

 private:
  void mutateOnce(Input& data, const Input& other, std::size_t maxSize);
  void flipBit(Input& data);
  void setByte(Input& data);
  void insertBytes(Input& data, std::size_t maxSize);
  void eraseBytes(Input& data);
  void copyInside(Input& data, std::size_t maxSize);
  void splice(Input& data, const Input& other, std::size_t maxSize);
  void truncate(Input& data);
  void interestingBinary(Input& data);
  void interestingNumber(Input& data, std::size_t maxSize);
  void shuffleLine(Input& data);

  Random random_;
};

}  // namespace vandrel::fuzz
