// Tests of the walk over a counted section's numbered entries.
#include "uninstall/numbered_entries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vandrel::uninstall {
namespace {

using namespace std::string_literals;

// The walk as a trace: "e<n>" for an entry, "g<length>" for a run of missing ones.
std::vector<std::string> trace(const std::vector<long long>& present, long long count, Order order,
                               long long stopAt = -1) {
  std::vector<std::string> steps;
  bool completed = walkEntries(
      present, count, order,
      [&](long long n) {
        steps.push_back("e" + std::to_string(n));
        return n != stopAt;
      },
      [&](long long missing) {
        steps.push_back("g" + std::to_string(missing));
        return true;
      });
  steps.push_back(completed ? "done" : "stopped");
  return steps;
}

TEST(WalkEntries, VisitsInOrderWithRunsOfMissingEntriesAsOneStep) {
  using V = std::vector<std::string>;
  EXPECT_EQ(trace({0, 1, 2}, 3, Order::Descending), (V{"e2", "e1", "e0", "done"}));
  EXPECT_EQ(trace({0, 1, 2}, 3, Order::Ascending), (V{"e0", "e1", "e2", "done"}));
  EXPECT_EQ(trace({0, 3}, 6, Order::Descending), (V{"g2", "e3", "g2", "e0", "done"}));
  EXPECT_EQ(trace({0, 3}, 6, Order::Ascending), (V{"e0", "g2", "e3", "g2", "done"}));
  EXPECT_EQ(trace({}, 4, Order::Descending), (V{"g4", "done"}));
  EXPECT_EQ(trace({1}, 2, Order::Ascending), (V{"g1", "e1", "done"}));
  EXPECT_EQ(trace({0, 1}, 0, Order::Ascending), (V{"done"}));
  EXPECT_EQ(trace({0, 1}, -5, Order::Descending), (V{"done"}));
  EXPECT_EQ(trace({4, 9}, 3, Order::Descending), (V{"g3", "done"}));  // beyond the count
}

TEST(WalkEntries, AbsurdCountCostsTheEntriesThatExist) {
  using V = std::vector<std::string>;
  EXPECT_EQ(trace({0, 1}, 2000000000, Order::Descending),
            (V{"g1999999998", "e1", "e0", "done"}));
  EXPECT_EQ(trace({0, 1}, 2000000000, Order::Ascending), (V{"e0", "e1", "g1999999998", "done"}));
}

TEST(WalkEntries, StopsWhenACallbackSaysSo) {
  using V = std::vector<std::string>;
  EXPECT_EQ(trace({0, 1, 2}, 3, Order::Descending, 1), (V{"e2", "e1", "stopped"}));
  bool completed = walkEntries({0}, 3, Order::Descending, [](long long) { return true; },
                               [](long long) { return false; });
  EXPECT_FALSE(completed);
}

}  // namespace
}  // namespace vandrel::uninstall
