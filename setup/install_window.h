// The install window's settings as the script gives them, and the port through which a
// graphical backend creates the window. Console and unattended runs have no window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/machine.h"
#include "script/script_reader.h"
#include "script/string_table.h"
#include "paint/background_wnd.h"

namespace vandrel::setup {

struct InstallWindowSettings {
  std::string title;                       // painted title, and the caption when set
  bool setCaption = false;                 // [Settings] Title was given
  bool captionBar = false;                 // [Background] Caption
  std::optional<std::uint32_t> topColour;  // none: the system's desktop colour
  int mode = paint::flag::Plain;                 // before a bitmap changes it
  bool vertical = false;
  std::uint32_t secondColour = 0;          // gradient end (0x00BBGGRR)
  std::string bitmapPath;                  // empty: no bitmap
  long bitmapMode = 0;                     // applied only when the bitmap loads
};

// The script's colour text "0x00BBGGRR": characters 3 to 6 give the high half, the rest
// the low half, each read as hexadecimal.
std::uint32_t parseColour(const std::string& text);

// The drawing mode once the bitmap has loaded.
int modeWithBitmap(int mode, long bitmapMode);

// Reads the settings from the script ([Settings] Title, [Background]); the bitmap lies in
// the source folder.
InstallWindowSettings readInstallWindowSettings(const script::ScriptReader& script,
                                                const script::StringTable& strings,
                                                const std::string& sourceFolder);

// Sets up the install window's painter from the settings: the title, the plain colour (the
// desktop's when the script gives none), the gradient, and the bitmap from the source folder
// with the mode it asks for. A bitmap that does not load is not shown; its code is returned
// (0 when it loaded or none is named).
int configureBackground(paint::CBackgroundWnd& painter, const InstallWindowSettings& settings,
                        platform::Machine& machine);

// Implemented by a graphical backend; false when the window cannot be created.
class InstallWindow {
 public:
  virtual ~InstallWindow() = default;
  virtual bool create(const InstallWindowSettings& settings) = 0;
};

}  // namespace vandrel::setup
