// Tests of the fuzz mutator: runs repeat exactly, sizes stay in bounds, edits really happen.
#include "fuzz/mutator.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace vandrel::fuzz {
namespace {

Input text(const std::string& s) { return Input(s.begin(), s.end()); }

std::vector<Input> sequence(std::uint64_t seed, const Input& base, const Input& other,
                            std::size_t maxSize, int count) {
  Mutator mutator(seed);
  std::vector<Input> out;
  for (int i = 0; i < count; ++i) out.push_back(mutator.mutate(base, other, maxSize));
  return out;
}

TEST(FuzzMutator, SameSeedGivesTheSameSequence) {
  Input base = text("[Section]\nkey=value\nother=12345\n");
  Input other = text("SZDD\x88\xF0\x27\x33" "A\0\0\0\0");
  EXPECT_EQ(sequence(7, base, other, 256, 500), sequence(7, base, other, 256, 500));
  EXPECT_NE(sequence(7, base, other, 256, 50), sequence(8, base, other, 256, 50));
}

TEST(FuzzMutator, ResultsNeverExceedTheMaximumSize) {
  struct Case {
    std::size_t inputSize;
    std::size_t maxSize;
  };
  for (Case c : {Case{0, 1}, Case{1, 1}, Case{10, 4}, Case{100, 100}, Case{300, 64}}) {
    Input base(c.inputSize, 'a');
    Input other(2 * c.maxSize + 5, 'b');
    for (const Input& result : sequence(3, base, other, c.maxSize, 2000)) {
      ASSERT_LE(result.size(), c.maxSize) << "input " << c.inputSize << " max " << c.maxSize;
    }
  }
}

TEST(FuzzMutator, NearlyEveryResultDiffersAndManyAreDistinct) {
  Input base = text("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"a\"=dword:0000000a\n");
  std::vector<Input> results = sequence(11, base, text("hex:01,02"), 4096, 1000);
  int changed = 0;
  std::set<Input> distinct;
  for (const Input& result : results) {
    if (result != base) ++changed;
    distinct.insert(result);
  }
  EXPECT_GE(changed, 900);
  EXPECT_GE(distinct.size(), 800u);
}

TEST(FuzzMutator, EmptyInputGrows) {
  int grown = 0;
  for (const Input& result : sequence(5, Input{}, Input{}, 64, 200)) {
    if (!result.empty()) ++grown;
  }
  EXPECT_GE(grown, 150);
}

TEST(FuzzMutator, SplicesBringInBytesOfTheOtherInput) {
  // The base holds only 'a' and the other only 'z': a 'z' can only come from a splice or a
  // random byte, and splices bring runs of them.
  bool longRun = false;
  for (const Input& result : sequence(9, Input(50, 'a'), Input(50, 'z'), 256, 500)) {
    std::string s(result.begin(), result.end());
    if (s.find(std::string(20, 'z')) != std::string::npos) longRun = true;
  }
  EXPECT_TRUE(longRun);
}

TEST(FuzzRandom, BelowStaysInRange) {
  Random random(42);
  EXPECT_EQ(random.below(0), 0u);
  std::set<std::size_t> seen;
  for (int i = 0; i < 1000; ++i) {
    std::size_t n = random.below(10);
    ASSERT_LT(n, 10u);
    seen.insert(n);
  }
  EXPECT_EQ(seen.size(), 10u) << "every value of a small range comes up";
}

}  // namespace
}  // namespace vandrel::fuzz
