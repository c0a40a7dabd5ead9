// The install window's painter set up from the script: colours with the desktop's as
// fall-back, the gradient, the bitmap from the source folder and the mode it selects.
#include "setup/install_window.h"

#include <gtest/gtest.h>

#include "setup/strings/setup_strings.h"
#include "setup/testing/machine_fixture.h"
#include "tests/support/bmp_file.h"
#include "tests/support/raster_canvas.h"

namespace vandrel::setup {
namespace {

using platform::emulated::Preset;
using testing::MachineFixture;
using paint::CBackgroundWnd;

const char* kScript = "C:\\Pkg\\Script.vrx";

std::string picture(bool compressed = false) {
  test::BmpSpec spec;
  spec.width = 8;
  spec.height = 6;
  spec.pixel = [](int x, int y) { return std::uint32_t(x * 20 + y * 0x2000 + 0x400000); };
  std::string bytes = test::makeBmp(spec);
  if (compressed) test::putU32(bytes, test::bmp_field::Compression, 2);
  return bytes;
}

// The painter for a script with this [Background] section (and a Title when given).
struct Configured {
  CBackgroundWnd painter;
  int code = 0;
};

Configured configure(MachineFixture& machine, const std::string& background,
                     const std::string& settings = "") {
  machine.put(kScript, "[Settings]\r\n" + settings + "[Background]\r\n" + background);
  script::ScriptReader script(machine.profile(), kScript);
  InstallWindowSettings read = readInstallWindowSettings(script, setupStrings(), "C:\\Pkg\\");
  Configured result;
  result.code = configureBackground(result.painter, read, machine);
  return result;
}

struct SettingsCase {
  const char* name;
  const char* background;
  int mode;
  paint::Colour plain;
  paint::Colour second;  // checked with the gradient only
  bool vertical;
  bool bitmap;
  int code;
};

TEST(InstallBackground, SettingsMakeThePainter) {
  const SettingsCase cases[] = {
      {"gradient", "Top=0x00ff8040\r\nBottom=0x00000080\r\nVert=1\r\n", paint::flag::Gradient,
       0x00ff8040, 0x80, true, false, 0},
      {"no Top: the desktop's colour", "Gradient=1\r\n", paint::flag::Gradient, 0x00808000, 0, false,
       false, 0},
      {"plain", "Gradient=0\r\nTop=0x00112233\r\n", paint::flag::Plain, 0x00112233, 0, false, false, 0},
      {"centred bitmap", "BmpName=back.bmp\r\n", paint::flag::Gradient | paint::flag::Centred, 0x00808000, 0,
       false, true, 0},
      {"top band", "BmpName=back.bmp\r\nBmpMode=1\r\n", paint::flag::Gradient | paint::flag::TopBand,
       0x00808000, 0, false, true, 0},
      {"tiles", "BmpName=back.bmp\r\nBmpMode=2\r\n", paint::flag::Tiled, 0x00808000, 0, false, true, 0},
      {"centred tiles", "BmpName=back.bmp\r\nBmpMode=3\r\n", paint::flag::TiledCentred, 0x00808000, 0,
       false, true, 0},
      {"stretched", "BmpName=back.bmp\r\nBmpMode=4\r\n", paint::flag::Stretched, 0x00808000, 0, false,
       true, 0},
      {"other mode: centred", "Gradient=0\r\nBmpName=back.bmp\r\nBmpMode=9\r\n",
       paint::flag::Plain | paint::flag::Centred, 0x00808000, 0, false, true, 0},
      {"compressed bitmap", "BmpName=packed.bmp\r\nBmpMode=2\r\n", paint::flag::Gradient, 0x00808000,
       0, false, false, 8},
      {"missing bitmap", "BmpName=none.bmp\r\nBmpMode=2\r\n", paint::flag::Gradient, 0x00808000, 0,
       false, false, 1},
  };
  MachineFixture machine;
  machine.put("C:\\Pkg\\back.bmp", picture());
  machine.put("C:\\Pkg\\packed.bmp", picture(true));
  for (const SettingsCase& c : cases) {
    SCOPED_TRACE(c.name);
    Configured made = configure(machine, c.background);
    EXPECT_EQ(made.code, c.code);
    EXPECT_EQ(made.painter.mode, c.mode);
    EXPECT_EQ(made.painter.plainColour, c.plain);
    EXPECT_EQ(made.painter.vertical, c.vertical);
    EXPECT_EQ(made.painter.bitmap() != nullptr, c.bitmap);
    if (c.bitmap) {
      EXPECT_EQ(made.painter.bitmapPath(), "C:\\Pkg\\back.bmp");
    }
    if (c.mode & paint::flag::Gradient) {
      EXPECT_EQ(made.painter.firstColour, c.plain);
      EXPECT_EQ(made.painter.secondColour, c.second);
    }
  }
}

// Tiles and the stretch replace the gradient: no band is painted.
TEST(InstallBackground, TilesAndStretchHideTheGradient) {
  MachineFixture machine;
  machine.put("C:\\Pkg\\back.bmp", picture());
  for (const char* mode : {"2", "4"}) {
    SCOPED_TRACE(mode);
    Configured made = configure(
        machine, std::string("Gradient=1\r\nTop=0x00FF0000\r\nBmpName=back.bmp\r\nBmpMode=") + mode + "\r\n");
    test::RasterCanvas canvas(64, 48);
    made.painter.paint(canvas);
    EXPECT_TRUE(canvas.callsOf(test::RasterCanvas::Call::Fill).empty());
    EXPECT_EQ(canvas.at(63, 47) & 0xFF000000, 0u);  // all covered by the picture
  }
}

TEST(InstallBackground, TitleFromTheScriptOrTheProgram) {
  MachineFixture machine;
  EXPECT_EQ(configure(machine, "", "Title=My Tool\r\n").painter.title, "My Tool");
  Configured untitled = configure(machine, "", "Title=\r\n");
  EXPECT_EQ(untitled.painter.title, "Vandrel Setup v3.0");
  test::RasterCanvas canvas(200, 100);
  untitled.painter.paint(canvas);
  ASSERT_FALSE(canvas.callsOf(test::RasterCanvas::Call::Text).empty());
  EXPECT_EQ(canvas.callsOf(test::RasterCanvas::Call::Text)[0].text, "Vandrel Setup v3.0");
}

struct DesktopCase {
  Preset preset;
  const char* setting;  // HKEY_CURRENT_USER\Control Panel\Colors Background; null: none
  paint::Colour colour;
};

TEST(InstallBackground, DesktopColourOfTheMachine) {
  const DesktopCase cases[] = {
      {Preset::Win95, nullptr, 0x00808000}, {Preset::NT4, nullptr, 0x00808000},
      {Preset::Win2000, nullptr, 0x00A56E3A}, {Preset::Win98, "255 128 1", 0x000180FF},
      {Preset::Win98, "not a colour", 0x00808000}, {Preset::Win98, "300 0 0", 0x00808000},
  };
  for (const DesktopCase& c : cases) {
    SCOPED_TRACE(c.setting ? c.setting : "none");
    MachineFixture machine(c.preset);
    if (c.setting) {
      platform::HKey key = 0;
      ASSERT_EQ(machine.registry().createKey(platform::hkey::CurrentUser, "Control Panel\\Colors", key), 0);
      std::string text = c.setting;
      platform::Bytes data(text.begin(), text.end());
      data.push_back(0);
      ASSERT_EQ(machine.registry().setValue(key, "Background", platform::regtype::Sz, data), 0);
      machine.registry().closeKey(key);
    }
    EXPECT_EQ(machine.system().desktopColour(), c.colour);
    EXPECT_EQ(configure(machine, "Gradient=0\r\n").painter.plainColour, c.colour);
  }
}

}  // namespace
}  // namespace vandrel::setup
