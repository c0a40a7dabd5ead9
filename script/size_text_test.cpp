// Tests of the setup's and the builder's size texts.
#include "script/size_text.h"

#include <gtest/gtest.h>

namespace vandrel::script {
namespace {

TEST(SizeText, UnitBoundaries) {
  const struct {
    double bytes;
    const char* setup;
    const char* builder;
  } cases[] = {
      {0, "0.00 Ko", "0.00 Kb"},
      {1, "0.00 Ko", "0.00 Kb"},
      {1536, "1.50 Ko", "1.50 Kb"},
      {1048575, "1024.00 Ko", "1024.00 Kb"},
      {1048576, "1.00 Mo", "1.00 Mb"},
      {1073741823, "1.00 Go", "1024.00 Mb"},  // single precision rounds up to 2^30
      {1073741824, "1.00 Go", "1.00 Gb"},
      {5.0 * 1073741824, "5.00 Go", "5.00 Gb"},
      {-2048, "-2.00 Ko", "-2.00 Kb"},
      {2.0 * 1099511627776.0, "2048.00 Go", "2048.00 Gb"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sizeText(static_cast<float>(c.bytes)), c.setup) << c.bytes;
    EXPECT_EQ(FormatSize(c.bytes), c.builder) << c.bytes;
  }
}

TEST(SizeText, HugeValuesAreNotCut) {
  std::string text = FormatSize(1e300);
  ASSERT_GT(text.size(), 290u);
  EXPECT_EQ(text.substr(text.size() - 6), ".00 Gb");
  std::string single = sizeText(3.0e38f);
  EXPECT_EQ(single.substr(single.size() - 6), ".00 Go");
}

}  // namespace
}  // namespace vandrel::script
