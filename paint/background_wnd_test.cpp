// The background painter over a raster canvas: gradients, bitmap placements, the skip
// rules around the part to repaint and the bitmap, the texts, and the builder's variant.
#include "paint/background_wnd.h"

#include <gtest/gtest.h>

#include "tests/support/bmp_file.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/raster_canvas.h"

namespace vandrel::paint {
namespace {

using test::RasterCanvas;
using Call = RasterCanvas::Call;

// A 24-bit picture whose pixel (x, y) has red x and green y, so a pixel on the canvas tells
// which pixel of the picture it shows.
std::string coordinatePicture(int width, int height) {
  test::BmpSpec spec;
  spec.width = width;
  spec.height = height;
  spec.pixel = [](int x, int y) { return rgb(x, y, 0x80); };
  return test::makeBmp(spec);
}

class BackgroundTest : public ::testing::Test {
 protected:
  // A painter whose bitmap is a coordinate picture of that size.
  void loadPicture(CBackgroundWnd& painter, int width, int height) {
    files.writeFile("C:\\pic.bmp", coordinatePicture(width, height));
    ASSERT_EQ(painter.LoadBitmapFile(files, "C:\\pic.bmp", true), 0);
  }
  test::MemoryFileSystem files;
};

CBackgroundWnd gradientPainter(Colour first, Colour second, bool vertical) {
  CBackgroundWnd painter;
  painter.mode = flag::Gradient;
  painter.firstColour = first;
  painter.secondColour = second;
  painter.vertical = vertical;
  return painter;
}

struct GradientCase {
  const char* name;
  Colour first;
  Colour second;
  bool vertical;
  int width;
  int height;
  int bands;          // fills made
  int thickness;      // of every band (0: not checked)
  Colour firstBand;
  Colour lastBand;
};

TEST_F(BackgroundTest, GradientBands) {
  const GradientCase cases[] = {
      {"blue to black, 510 high", 0x00FF0000, 0, false, 64, 510, 255, 2, 0x00FF0000, 0x00010000},
      {"black to black", 0, 0, false, 64, 510, 0, 0, 0, 0},
      {"grey to the same grey", 0x00404040, 0x00404040, false, 64, 640, 64, 10, 0x00404040,
       0x00404040},
      {"red to green, left to right", 0x000000FF, 0x0000FF00, true, 510, 40, 255, 2, 0x000000FF,
       rgb(1, 254, 0)},
  };
  for (const GradientCase& c : cases) {
    SCOPED_TRACE(c.name);
    RasterCanvas canvas(c.width, c.height);
    gradientPainter(c.first, c.second, c.vertical).paint(canvas);
    std::vector<Call> fills = canvas.callsOf(Call::Fill);
    ASSERT_EQ(int(fills.size()), c.bands);
    if (c.bands == 0) {
      EXPECT_EQ(canvas.at(c.width / 2, c.height / 2), RasterCanvas::kUnpainted);
      continue;
    }
    EXPECT_EQ(fills.front().colour, c.firstBand);
    EXPECT_EQ(fills.back().colour, c.lastBand);
    for (int i = 0; i < c.bands; ++i) {
      const Rect& band = fills[std::size_t(i)].rect;
      const int start = c.vertical ? band.left : band.top;
      const int end = c.vertical ? band.right : band.bottom;
      ASSERT_EQ(start, i * c.thickness) << "band " << i;
      ASSERT_EQ(end - start, c.thickness) << "band " << i;
    }
    // Every pixel painted, each with its band's colour.
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        const int band = (c.vertical ? x : y) / c.thickness;
        ASSERT_EQ(canvas.at(x, y), fills[std::size_t(band)].colour) << x << "," << y;
      }
    }
  }
}

TEST_F(BackgroundTest, BlueToBlackStepsByOneEveryTwoRows) {
  RasterCanvas canvas(10, 510);
  gradientPainter(0x00FF0000, 0, false).paint(canvas);
  for (int i = 0; i < 255; ++i) {
    ASSERT_EQ(canvas.at(5, 2 * i), rgb(0, 0, 255 - i));
    ASSERT_EQ(canvas.at(5, 2 * i + 1), rgb(0, 0, 255 - i));
  }
}

TEST_F(BackgroundTest, PlainModeFillsEverythingWithThePlainColour) {
  CBackgroundWnd painter;
  painter.plainColour = 0x00123456;
  RasterCanvas canvas(30, 20);
  painter.paint(canvas);
  ASSERT_EQ(canvas.callsOf(Call::Fill).size(), 1u);
  EXPECT_EQ(canvas.callsOf(Call::Fill)[0].rect, (Rect{0, 0, 30, 20}));
  EXPECT_EQ(canvas.at(29, 19), 0x00123456u);
}

// A partial repaint: bands ending above the part are left out, bands inside it painted
// across its width only, and painting stops below it.
TEST_F(BackgroundTest, HorizontalBandsKeepToThePartToRepaint) {
  // 10 bands of 20 rows (n = 10 from colour 10 to 0).
  CBackgroundWnd painter = gradientPainter(rgb(10, 0, 0), 0, false);
  RasterCanvas canvas(100, 200, Rect{10, 50, 60, 110});
  painter.paint(canvas);
  std::vector<Call> fills = canvas.callsOf(Call::Fill);
  // Band 2 (40..60) reaches into the part from above: painted from the part's top.
  // Bands 3, 4 and 5 (60..120) are painted whole across the part; band 5 ends below it.
  ASSERT_EQ(fills.size(), 4u);
  EXPECT_EQ(fills[0].rect, (Rect{10, 50, 60, 60}));
  EXPECT_EQ(fills[1].rect, (Rect{10, 60, 60, 80}));
  EXPECT_EQ(fills[3].rect, (Rect{10, 100, 60, 120}));
  for (int y = 50; y < 110; ++y) EXPECT_NE(canvas.at(30, y), RasterCanvas::kUnpainted) << y;
}

TEST_F(BackgroundTest, BandStartingJustAboveThePartIsPaintedWhole) {
  CBackgroundWnd painter = gradientPainter(rgb(10, 0, 0), 0, false);
  RasterCanvas canvas(100, 200, Rect{0, 42, 100, 50});
  painter.paint(canvas);
  std::vector<Call> fills = canvas.callsOf(Call::Fill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].rect, (Rect{0, 40, 100, 60}));  // starts within 2 rows of the top
}

TEST_F(BackgroundTest, VerticalStripesKeepToThePartToRepaint) {
  CBackgroundWnd painter = gradientPainter(rgb(10, 0, 0), 0, true);  // stripes 20 wide
  RasterCanvas canvas(200, 100, Rect{28, 5, 75, 50});
  painter.paint(canvas);
  std::vector<Call> fills = canvas.callsOf(Call::Fill);
  // Stripe 0 (0..20) starts more than 10 left of the part and ends before it: left out.
  // Stripe 1 (20..40) starts within 10 of it: painted whole; 2 and 3 too; 3 ends past it.
  ASSERT_EQ(fills.size(), 3u);
  EXPECT_EQ(fills[0].rect, (Rect{20, 5, 40, 50}));
  EXPECT_EQ(fills[2].rect, (Rect{60, 5, 80, 50}));

  // A stripe starting further left but reaching into the part is painted from its left.
  RasterCanvas later(200, 100, Rect{35, 5, 75, 50});
  painter.paint(later);
  ASSERT_FALSE(later.callsOf(Call::Fill).empty());
  EXPECT_EQ(later.callsOf(Call::Fill)[0].rect, (Rect{35, 5, 40, 50}));
}

TEST_F(BackgroundTest, CentredBitmapWithPlainMargins) {
  CBackgroundWnd painter;
  painter.mode = flag::Plain | flag::Centred;
  painter.plainColour = 0x00ABCDEF;
  loadPicture(painter, 40, 20);
  RasterCanvas canvas(101, 61);
  painter.paint(canvas);
  // Margins (101 - 40) >> 1 = 30 and (61 - 20) >> 1 = 20, each strip one wider.
  std::vector<Call> fills = canvas.callsOf(Call::Fill);
  ASSERT_EQ(fills.size(), 4u);
  EXPECT_EQ(fills[0].rect, (Rect{0, 0, 31, 61}));
  EXPECT_EQ(fills[1].rect, (Rect{70, 0, 101, 61}));
  EXPECT_EQ(fills[2].rect, (Rect{0, 0, 101, 21}));
  EXPECT_EQ(fills[3].rect, (Rect{0, 40, 101, 61}));
  ASSERT_EQ(canvas.callsOf(Call::Image).size(), 1u);
  EXPECT_EQ(canvas.callsOf(Call::Image)[0].at, (Point{30, 20}));
  EXPECT_EQ(canvas.at(30, 20), rgb(0, 0, 0x80));
  EXPECT_EQ(canvas.at(69, 39), rgb(39, 19, 0x80));
  EXPECT_EQ(canvas.at(29, 30), 0x00ABCDEFu);
}

// With the gradient around a centred bitmap, bands starting inside the bitmap's box are
// painted left and right of it only.
TEST_F(BackgroundTest, GradientAroundCentredBitmap) {
  CBackgroundWnd painter = gradientPainter(rgb(0, 0, 100), 0, false);  // 100 bands of 2 rows
  painter.mode = flag::Gradient | flag::Centred;
  loadPicture(painter, 40, 60);
  RasterCanvas canvas(100, 200);
  painter.paint(canvas);
  // Box: left 30, top 70, right 70, bottom 70 + 60 - 2 = 128.
  for (const Call& fill : canvas.callsOf(Call::Fill)) {
    if (fill.rect.top > 70 && fill.rect.top < 128) {
      EXPECT_TRUE(fill.rect.right == 30 || fill.rect.left == 70) << fill.rect.top;
    } else {
      EXPECT_EQ(fill.rect.width(), 100) << fill.rect.top;
    }
  }
  EXPECT_EQ(canvas.at(50, 100), rgb(20, 30, 0x80));  // the picture
  EXPECT_EQ(canvas.at(10, 100), rgb(0, 0, 50));      // band 50
  // The band starting at the box's bottom is painted whole, over the picture's last rows.
  EXPECT_EQ(canvas.at(50, 128), rgb(0, 0, 36));
}

TEST_F(BackgroundTest, StripesAroundCentredBitmap) {
  CBackgroundWnd painter = gradientPainter(rgb(0, 0, 100), 0, true);  // stripes 2 wide
  painter.mode = flag::Gradient | flag::Centred;
  loadPicture(painter, 40, 60);
  RasterCanvas canvas(200, 100);
  painter.paint(canvas);
  // Box: left 80, top 20, right 120, bottom 78. Stripes inside it go above and below.
  for (const Call& fill : canvas.callsOf(Call::Fill)) {
    if (fill.rect.left > 80 && fill.rect.right < 120) {
      EXPECT_TRUE(fill.rect.bottom == 20 || fill.rect.top == 78) << fill.rect.left;
    } else {
      EXPECT_EQ(fill.rect.height(), 100) << fill.rect.left;
    }
  }
  EXPECT_EQ(canvas.at(100, 50), rgb(20, 30, 0x80));
}

TEST_F(BackgroundTest, CentredTilesOnAWiderWindow) {
  CBackgroundWnd painter;
  painter.mode = flag::TiledCentred;
  loadPicture(painter, 100, 50);
  RasterCanvas canvas(1024, 120);
  painter.paint(canvas);
  // The first column is 62 wide and shows the picture's last 62 columns.
  for (int x = 0; x < 62; ++x) ASSERT_EQ(red(canvas.at(x, 40)), 38 + x) << x;
  // Whole tiles start at 62, 162, ..., the one at 462 in the middle.
  for (int start = 62; start < 1024; start += 100) {
    ASSERT_EQ(red(canvas.at(start, 40)), 0) << start;
    if (start + 99 < 1024) {
      ASSERT_EQ(red(canvas.at(start + 99, 40)), 99) << start;
    }
  }
  EXPECT_EQ((1024 - 100) >> 1, 462);
  // Rows: (120 - 50) >> 1 = 35; the top row of tiles shows the picture's last 35 rows.
  for (int y = 0; y < 35; ++y) ASSERT_EQ(green(canvas.at(100, y)), 15 + y) << y;
  EXPECT_EQ(green(canvas.at(100, 35)), 0);
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 1024; ++x) ASSERT_NE(canvas.at(x, y), RasterCanvas::kUnpainted);
  }
}

TEST_F(BackgroundTest, CentredTileOfAPictureLargerThanTheWindow) {
  CBackgroundWnd painter;
  painter.mode = flag::TiledCentred;
  loadPicture(painter, 100, 80);
  RasterCanvas canvas(41, 30);
  painter.paint(canvas);
  ASSERT_EQ(canvas.callsOf(Call::Image).size(), 1u);
  // Source offsets (100 - 41) >> 1 = 29 and (80 - 30) >> 1 = 25.
  EXPECT_EQ(canvas.at(0, 0), rgb(29, 25, 0x80));
  EXPECT_EQ(canvas.at(40, 29), rgb(69, 54, 0x80));
}

TEST_F(BackgroundTest, TilesFromTheCorner) {
  CBackgroundWnd painter;
  painter.mode = flag::Tiled;
  loadPicture(painter, 30, 20);
  RasterCanvas canvas(90, 50);
  painter.paint(canvas);
  // Columns 0 to 90 / 30 = 3 and rows 0 to 50 / 20 = 2, both inclusive.
  EXPECT_EQ(canvas.callsOf(Call::Image).size(), 4u * 3u);
  EXPECT_EQ(canvas.at(65, 45), rgb(5, 5, 0x80));
}

TEST_F(BackgroundTest, PlacedBitmapWithPlainRest) {
  CBackgroundWnd painter;
  painter.mode = flag::Placed;
  painter.position = {10, 5};
  painter.plainColour = 0x00010203;
  loadPicture(painter, 20, 10);
  RasterCanvas canvas(50, 40);
  painter.paint(canvas);
  std::vector<Call> fills = canvas.callsOf(Call::Fill);
  ASSERT_EQ(fills.size(), 4u);
  EXPECT_EQ(fills[0].rect, (Rect{0, 0, 10, 40}));
  EXPECT_EQ(fills[1].rect, (Rect{0, 0, 50, 5}));
  EXPECT_EQ(fills[2].rect, (Rect{30, 0, 50, 40}));
  EXPECT_EQ(fills[3].rect, (Rect{0, 15, 50, 40}));
  EXPECT_EQ(canvas.at(10, 5), rgb(0, 0, 0x80));
}

struct VariantCase {
  const char* name;
  PainterKind kind;
  int mode;
  Rect stretchTarget;
  int gradientFrom;  // first row the gradient paints (-1: no gradient)
};

// The stretched placements, in the setup's and the builder's reading of flags 16 and 32.
TEST_F(BackgroundTest, StretchedPlacements) {
  const VariantCase cases[] = {
      {"setup, 16: band along the top", PainterKind::Setup, flag::TopBand | flag::Gradient,
       {0, 0, 80, 10}, 10},
      {"setup, 32: whole window", PainterKind::Setup, flag::Stretched, {0, 0, 80, 60}, -1},
      {"builder, 16: whole window", PainterKind::Builder, flag::TopBand, {0, 0, 80, 60}, -1},
      {"builder, 32: band along the top", PainterKind::Builder,
       flag::Stretched | flag::Gradient, {0, 0, 80, 10}, 10},
  };
  for (const VariantCase& c : cases) {
    SCOPED_TRACE(c.name);
    CBackgroundWnd painter(c.kind);
    painter.mode = c.mode;
    painter.firstColour = rgb(60, 0, 0);  // bands of one row
    painter.secondColour = 0;
    loadPicture(painter, 20, 10);
    RasterCanvas canvas(80, 60);
    painter.paint(canvas);
    std::vector<Call> stretches = canvas.callsOf(Call::Stretch);
    ASSERT_EQ(stretches.size(), 1u);
    EXPECT_EQ(stretches[0].rect, c.stretchTarget);
    std::vector<Call> fills = canvas.callsOf(Call::Fill);
    if (c.gradientFrom < 0) {
      EXPECT_TRUE(fills.empty());
      continue;
    }
    ASSERT_FALSE(fills.empty());
    // Bands starting more than two rows above the picture's lower edge are left out.
    EXPECT_EQ(fills.front().rect.top, c.gradientFrom - 2);
    EXPECT_EQ(canvas.at(8, 7), rgb(2, 7, 0x80));
  }
}

TEST_F(BackgroundTest, TopBandWithPlainColourBelow) {
  CBackgroundWnd painter;
  painter.mode = flag::TopBand | flag::Plain;
  painter.plainColour = 0x00112233;
  loadPicture(painter, 20, 10);
  RasterCanvas canvas(80, 60);
  painter.paint(canvas);
  ASSERT_EQ(canvas.callsOf(Call::Fill).size(), 1u);
  EXPECT_EQ(canvas.callsOf(Call::Fill)[0].rect, (Rect{0, 10, 80, 60}));
}

TEST_F(BackgroundTest, BitmapFlagsWithoutABitmapLeaveThePlainBackground) {
  CBackgroundWnd painter;
  painter.mode = flag::Plain | flag::Centred;
  painter.plainColour = 0x00445566;
  RasterCanvas canvas(40, 30);
  painter.paint(canvas);
  EXPECT_EQ(canvas.at(20, 15), 0x00445566u);
  painter.mode = flag::Tiled;  // nothing to tile: no division by a zero width
  RasterCanvas tiles(40, 30);
  painter.paint(tiles);
  EXPECT_TRUE(tiles.callsOf(Call::Image).empty());
}

struct TextCase {
  const char* name;
  Rect clip;
  bool credit;
};

TEST_F(BackgroundTest, TitleWithShadowAndCreditLine) {
  const TextCase cases[] = {
      {"whole window", {0, 0, 400, 300}, true},
      {"part ending 30 above the bottom", {0, 0, 400, 270}, false},
      {"part ending 29 above the bottom", {0, 0, 400, 271}, true},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    CBackgroundWnd painter;
    painter.title = "My App";
    RasterCanvas canvas(400, 300, c.clip);
    painter.paint(canvas);
    std::vector<Call> texts = canvas.callsOf(Call::Text);
    ASSERT_EQ(texts.size(), c.credit ? 4u : 2u);
    EXPECT_EQ(texts[0].at, (Point{20, 14}));
    EXPECT_EQ(texts[0].colour, 0x000000u);
    EXPECT_EQ(texts[1].at, (Point{15, 10}));
    EXPECT_EQ(texts[1].colour, 0xFFFFFFu);
    EXPECT_EQ(texts[1].text, "My App");
    EXPECT_EQ(texts[1].font, (Font{50, 700, true, 0x16}));
    if (!c.credit) continue;
    EXPECT_EQ(texts[2].at, (Point{24, 274}));
    EXPECT_EQ(texts[3].at, (Point{20, 270}));
    EXPECT_EQ(texts[3].colour, 0x00FFFFu);
    EXPECT_EQ(texts[3].font.height, 20);
    EXPECT_EQ(texts[3].text, kCreditLine);
  }
}

TEST_F(BackgroundTest, BuilderBackgroundHasNoCreditLine) {
  CBackgroundWnd painter(PainterKind::Builder);
  RasterCanvas canvas(400, 300);
  painter.paint(canvas);
  for (const Call& text : canvas.callsOf(Call::Text)) EXPECT_NE(text.text, kCreditLine);
}

TEST_F(BackgroundTest, FailedLoadKeepsOrDropsTheCurrentBitmap) {
  CBackgroundWnd painter;
  loadPicture(painter, 4, 4);
  EXPECT_EQ(painter.LoadBitmapFile(files, "C:\\missing.bmp", false), 1);
  ASSERT_NE(painter.bitmap(), nullptr);
  EXPECT_EQ(painter.bitmapPath(), "C:\\pic.bmp");
  EXPECT_EQ(painter.LoadBitmapFile(files, "", true), 2);
  EXPECT_EQ(painter.bitmap(), nullptr);
}

}  // namespace
}  // namespace vandrel::paint
