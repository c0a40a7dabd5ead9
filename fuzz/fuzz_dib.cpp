// Fuzz target: the .bmp reader, then the painter drawing what it accepted in every placement.
#include <set>
#include <string>

#include "fuzz/fuzz_target.h"
#include "paint/background_wnd.h"
#include "paint/dib_image.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/raster_canvas.h"

namespace paint = vandrel::paint;

namespace {

// Whatever was accepted can be painted, centred, tiled, placed and stretched, on a small
// window and on a part of it.
void paintEveryWay(const std::uint8_t* data, std::size_t size) {
  vandrel::test::MemoryFileSystem files;
  files.writeFile("C:\\p.bmp", std::string(reinterpret_cast<const char*>(data), size));
  paint::CBackgroundWnd painter;
  if (painter.LoadBitmapFile(files, "C:\\p.bmp", true) != 0) return;
  const int modes[] = {paint::flag::Centred | paint::flag::Gradient,
                       paint::flag::Centred | paint::flag::Plain,
                       paint::flag::TiledCentred, paint::flag::Tiled,
                       paint::flag::Placed, paint::flag::TopBand | paint::flag::Gradient,
                       paint::flag::Stretched};
  painter.firstColour = 0x00FF8040;
  painter.secondColour = 0;
  painter.position = {3, 5};
  for (int mode : modes) {
    for (bool vertical : {false, true}) {
      painter.mode = mode;
      painter.vertical = vertical;
      vandrel::test::RasterCanvas canvas(37, 23, {4, 3, 30, 20});
      painter.paint(canvas);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > vandrel::fuzz::kMaxInput) return 0;
  paint::DibImage image;
  const int code = image.read(data, size);
  static const std::set<int> kReadCodes = {0, paint::dib_error::Short,
                                           paint::dib_error::Compressed,
                                           paint::dib_error::WrongSize};
  FUZZ_CHECK(kReadCodes.count(code) == 1);
  FUZZ_CHECK(image.loaded() == (code == 0));
  if (code != 0) {
    FUZZ_CHECK(image.width() == 0 && image.height() == 0 && image.bits().empty());
    return 0;
  }
  FUZZ_CHECK(image.width() > 0 && image.height() > 0);
  FUZZ_CHECK(image.palette().size() <= 256);
  FUZZ_CHECK(image.bits().size() <= size);
  for (int y = 0; y < image.height(); ++y) {
    FUZZ_CHECK(int(image.row(y).size()) == image.width());
  }
  paintEveryWay(data, size);
  return 0;
}
