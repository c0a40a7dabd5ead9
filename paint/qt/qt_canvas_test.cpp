// The painter drawn by Qt, checked pixel by pixel on images, and vandrel-paint end to end.
#include "paint/qt/qt_canvas.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <cstdlib>

#include "tests/support/bmp_file.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::paint {
namespace {

class QtCanvasTest : public ::testing::Test {
 protected:
  // Widget tests draw off screen (QT_QPA_PLATFORM=offscreen) unless told otherwise.
  static void SetUpTestSuite() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (QGuiApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "paint_qt_test";
      static char* argv[] = {name, nullptr};
      static QGuiApplication app(argc, argv);
    }
  }
  test::MemoryFileSystem files;
};

Colour at(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return rgb(qRed(p), qGreen(p), qBlue(p));
}

std::string coordinatePicture(int width, int height) {
  test::BmpSpec spec;
  spec.width = width;
  spec.height = height;
  spec.pixel = [](int x, int y) { return rgb(x, y, 0x80); };
  return test::makeBmp(spec);
}

struct GradientCase {
  const char* name;
  Colour top;
  Colour bottom;
  int height;
  int bands;  // 0: nothing painted, the image stays black
  int thickness;
};

// Rows right of the title and above the credit line, where only the bands are.
TEST_F(QtCanvasTest, GradientBandsPixelByPixel) {
  const GradientCase cases[] = {
      {"blue to black", 0x00FF0000, 0, 510, 255, 2},
      {"black to black", 0, 0, 510, 0, 0},
      {"grey twice", 0x00404040, 0x00404040, 512, 64, 8},
  };
  for (const GradientCase& c : cases) {
    SCOPED_TRACE(c.name);
    CBackgroundWnd painter;
    painter.mode = flag::Gradient;
    painter.firstColour = c.top;
    painter.secondColour = c.bottom;
    QImage image = renderBackground(painter, {900, c.height});
    const int x = 880;
    for (int y = 0; y < c.height - 40; ++y) {
      Colour expected = 0;
      if (c.bands > 0) {
        const int band = y / c.thickness;
        const int b1 = blue(c.top), b2 = blue(c.bottom);
        const int r1 = red(c.top), r2 = red(c.bottom);
        const int g1 = green(c.top), g2 = green(c.bottom);
        expected = rgb(r1 + band * (r2 - r1) / c.bands, g1 + band * (g2 - g1) / c.bands,
                       b1 + band * (b2 - b1) / c.bands);
      }
      ASSERT_EQ(at(image, x, y), expected) << "row " << y;
    }
  }
}

TEST_F(QtCanvasTest, CentredTilesOnA1024PixelWindow) {
  files.writeFile("C:\\pic.bmp", coordinatePicture(100, 60));
  CBackgroundWnd painter;
  ASSERT_EQ(painter.LoadBitmapFile(files, "C:\\pic.bmp", true), 0);
  painter.mode = flag::TiledCentred;
  QImage image = renderBackground(painter, {1024, 200});
  const int y = 100;  // (200 - 60) >> 1 = 70: picture row 30 of the middle row of tiles
  for (int x = 0; x < 62; ++x) ASSERT_EQ(at(image, x, y), rgb(38 + x, 30, 0x80)) << x;
  for (int start : {62, 162, 262, 362, 462, 562, 662, 762, 862, 962}) {
    for (int i = 0; i < 100 && start + i < 1024; ++i) {
      ASSERT_EQ(at(image, start + i, y), rgb(i, 30, 0x80)) << start + i;
    }
  }
}

struct BitmapCase {
  const char* name;
  std::function<std::string()> file;
  int code;
};

// A centred bitmap over the gradient: shown when it loads, else the gradient alone.
TEST_F(QtCanvasTest, BitmapShownOrGradientInstead) {
  const BitmapCase cases[] = {
      {"24 bits without palette", [] { return coordinatePicture(40, 30); }, 0},
      {"run-length compressed", [] {
         std::string b = coordinatePicture(40, 30);
         test::putU32(b, test::bmp_field::Compression, 1);
         return b;
       }, 8},
  };
  for (const BitmapCase& c : cases) {
    SCOPED_TRACE(c.name);
    files.writeFile("C:\\pic.bmp", c.file());
    CBackgroundWnd painter;
    painter.mode = flag::Gradient;
    painter.firstColour = 0x00FF0000;
    painter.secondColour = 0;
    ASSERT_EQ(painter.LoadBitmapFile(files, "C:\\pic.bmp", true), c.code);
    if (c.code == 0) painter.mode |= flag::Centred;
    QImage image = renderBackground(painter, {400, 510});
    // Picture at ((400 - 40) >> 1, (510 - 30) >> 1) = (180, 240); pixel (10, 10) at (190, 250).
    const Colour expected = c.code == 0 ? rgb(10, 10, 0x80) : rgb(0, 0, 255 - 250 / 2);
    EXPECT_EQ(at(image, 190, 250), expected);
    EXPECT_EQ(at(image, 390, 100), rgb(0, 0, 255 - 50));
  }
}

TEST_F(QtCanvasTest, TitleAndCreditAreDrawn) {
  CBackgroundWnd painter;
  painter.plainColour = 0x00808080;
  painter.title = "Setup";
  QImage image = renderBackground(painter, {400, 300});
  int white = 0, yellow = 0;
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x) {
      const Colour c = at(image, x, y);
      if (c == 0xFFFFFF && y < 80) ++white;
      if (c == 0x00FFFF && y >= 260) ++yellow;
    }
  }
  EXPECT_GT(white, 100);
  EXPECT_GT(yellow, 50);
}

struct BarCase {
  long position;
  Colour inside;  // left and right ends of the inside
};

TEST_F(QtCanvasTest, PercentBarEnds) {
  constexpr Colour kBar = 0x00800000, kText = 0x00FFFFFF;
  const BarCase cases[] = {{0, kText}, {100, kBar}};
  for (const BarCase& c : cases) {
    SCOPED_TRACE(c.position);
    PercentBar bar(100, kBar, kText);
    bar.SetPos(c.position);
    QImage image = renderPercentBar(bar, {300, 24});
    EXPECT_EQ(at(image, 0, 0), 0u);
    EXPECT_EQ(at(image, 299, 23), 0u);
    EXPECT_EQ(at(image, 1, 12), c.inside);
    EXPECT_EQ(at(image, 298, 12), c.inside);
    // The figure shows in the other colour somewhere in the middle.
    const Colour other = c.inside == kText ? kBar : kText;
    int figure = 0;
    for (int x = 120; x < 180; ++x) {
      for (int y = 1; y < 23; ++y) figure += at(image, x, y) == other ? 1 : 0;
    }
    EXPECT_GT(figure, 10);
  }
}

// vandrel-paint over a script and a bitmap in the script's folder, on a new machine.
TEST_F(QtCanvasTest, PaintToolRendersAScript) {
  test::TempDir dir;
  test::writeFile(dir / "Script.vrx",
                  "[Settings]\r\nTitle=Painted\r\n[Background]\r\nGradient=1\r\n"
                  "Top=0x00FF0000\r\nBottom=0x00000000\r\nBmpName=pic.bmp\r\nBmpMode=3\r\n");
  test::writeFile(dir / "pic.bmp", coordinatePicture(100, 60));
  const std::string out = (dir / "out.png").string();
  test::RunResult run = test::runProgram(
      std::string(VANDREL_BIN) + "/vandrel-paint",
      {(dir / "Script.vrx").string(), "1024", "200", out},
      {{"VANDREL_MACHINE", (dir / "machine").string()}});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  QImage image(QString::fromStdString(out));
  ASSERT_EQ(image.width(), 1024);
  for (int x = 0; x < 62; ++x) ASSERT_EQ(at(image, x, 100), rgb(38 + x, 30, 0x80)) << x;
  EXPECT_EQ(at(image, 462, 100), rgb(0, 30, 0x80));

  // A missing bitmap: said on standard error, the gradient drawn.
  test::writeFile(dir / "pic.bmp", "");
  run = test::runProgram(std::string(VANDREL_BIN) + "/vandrel-paint",
                         {(dir / "Script.vrx").string(), "300", "510", out, "--clip", "0,0,300,100"},
                         {{"VANDREL_MACHINE", (dir / "machine").string()}});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_NE(run.err.find("not shown (code 4)"), std::string::npos) << run.err;
  image = QImage(QString::fromStdString(out));
  EXPECT_EQ(at(image, 290, 90), rgb(0, 0, 255 - 45));
  EXPECT_EQ(at(image, 290, 200), 0u);  // outside the part painted

  run = test::runProgram(std::string(VANDREL_BIN) + "/vandrel-paint",
                         {(dir / "Script.vrx").string(), "0", "10", out}, {});
  EXPECT_EQ(run.exitStatus, 2);
}

}  // namespace
}  // namespace vandrel::paint
