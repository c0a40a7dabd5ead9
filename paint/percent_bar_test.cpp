// The percentage bar: position rules, the figure, and the two-coloured painting.
#include "paint/percent_bar.h"

#include <gtest/gtest.h>

#include "tests/support/raster_canvas.h"

namespace vandrel::paint {
namespace {

using test::RasterCanvas;
using Call = RasterCanvas::Call;

constexpr Colour kBar = 0x00800000;
constexpr Colour kText = 0x00FFFFFF;

struct PositionCase {
  std::uint32_t range;
  long value;
  std::uint32_t position;
  const char* figure;
};

TEST(PercentBar, PositionAndFigure) {
  const PositionCase cases[] = {
      {100, 0, 0, "  0%"},       {100, 42, 42, " 42%"},       {100, 100, 100, "100%"},
      {100, 250, 100, "100%"},   {100, -1, 100, "100%"},      {200, 1, 1, "  0%"},
      {0, 5, 0, "  0%"},         {65535, 65535, 65535, "100%"}, {3, 2, 2, " 66%"},
  };
  for (const PositionCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.range << " " << c.value);
    PercentBar bar(c.range, kBar, kText);
    bar.SetPos(c.value);
    EXPECT_EQ(bar.GetPos(), c.position);
    EXPECT_EQ(bar.figure(), c.figure);
  }
}

TEST(PercentBar, SplitPointDoesNotWrapOnWideBars) {
  PercentBar bar(100, kBar, kText);
  bar.SetPos(100);
  EXPECT_EQ(bar.splitPoint(1, 701), 701);
  bar.SetPos(50);
  EXPECT_EQ(bar.splitPoint(1, 701), 351);
}

struct PaintCase {
  long position;
  Colour leftInside;   // just inside the frame at the left
  Colour rightInside;  // just inside the frame at the right
  Colour figureColour;
};

TEST(PercentBar, FigureInvertedWhereTheBarHasPassed) {
  const PaintCase cases[] = {
      {0, kText, kText, kBar},
      {100, kBar, kBar, kText},
  };
  for (const PaintCase& c : cases) {
    SCOPED_TRACE(c.position);
    PercentBar bar(100, kBar, kText);
    bar.SetPos(c.position);
    RasterCanvas canvas(202, 22);
    bar.paint(canvas);
    EXPECT_EQ(canvas.at(0, 0), 0u);  // the black frame
    EXPECT_EQ(canvas.at(201, 21), 0u);
    EXPECT_EQ(canvas.at(1, 10), c.leftInside);
    EXPECT_EQ(canvas.at(200, 10), c.rightInside);
    std::vector<Call> texts = canvas.callsOf(Call::Text);
    ASSERT_EQ(texts.size(), 1u);  // the other part is empty
    EXPECT_EQ(texts[0].colour, c.figureColour);
    EXPECT_EQ(texts[0].text, c.position == 0 ? "  0%" : "100%");
    ASSERT_TRUE(texts[0].clipped);
    EXPECT_EQ(texts[0].clip, (Rect{1, 1, 201, 21}));  // the whole inside, empty or filled
    // Centred: (200 - 32) / 2 + 1 and (20 - 13) / 2 + 1.
    EXPECT_EQ(texts[0].at, (Point{85, 4}));
  }
}

TEST(PercentBar, HalfWayDrawsTheFigureTwice) {
  PercentBar bar(100, kBar, kText);
  bar.SetPos(50);
  RasterCanvas canvas(202, 22);
  bar.paint(canvas);
  std::vector<Call> texts = canvas.callsOf(Call::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].clip, (Rect{101, 1, 201, 21}));
  EXPECT_EQ(texts[0].colour, kBar);
  EXPECT_EQ(texts[1].clip, (Rect{1, 1, 101, 21}));
  EXPECT_EQ(texts[1].colour, kText);
  EXPECT_EQ(texts[0].at, texts[1].at);
  EXPECT_EQ(canvas.at(100, 10), kBar);
  EXPECT_EQ(canvas.at(101, 10), kText);
}

}  // namespace
}  // namespace vandrel::paint
