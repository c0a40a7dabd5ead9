// Reading the install window's settings from the script.
#include "setup/install_window.h"

#include <cctype>

#include "script/list_item.h"
#include "setup/strings/string_ids.h"

namespace vandrel::setup {

using script::Section;
namespace {

// Hexadecimal reading as a "%x" scan does it: leading blanks, an optional "0x", then digits
// up to the first other character; 32-bit wrap-around.
std::uint32_t scanHex(const std::string& text) {
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return 0;
  if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) i += 2;
  std::uint32_t value = 0;
  for (; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i) {
    char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    value = value * 16 + static_cast<std::uint32_t>(c <= '9' ? c - '0' : c - 'a' + 10);
  }
  return value;
}

}  // namespace

std::uint32_t parseColour(const std::string& text) {
  std::uint32_t high = text.size() > 2 ? scanHex(text.substr(2, 4)) : 0;
  std::uint32_t low = text.size() > 6 ? scanHex(text.substr(6)) : 0;
  return (high << 16) + low;
}

int modeWithBitmap(int mode, long bitmapMode) {
  switch (bitmapMode) {
    case 1: return mode | paint::flag::TopBand;
    case 2: return paint::flag::Tiled;
    case 3: return paint::flag::TiledCentred;
    case 4: return paint::flag::Stretched;
    default: return mode | paint::flag::Centred;
  }
}

InstallWindowSettings readInstallWindowSettings(const script::ScriptReader& script,
                                                const script::StringTable& strings,
                                                const std::string& sourceFolder) {
  InstallWindowSettings settings;
  std::string title = script.value(Section::Settings, script::key::Title, "");
  settings.setCaption = !title.empty();
  settings.title = title.empty() ? strings.get(sid::Title) : title;
  settings.captionBar = script.number(Section::Background, script::key::Caption, "0") != 0;
  std::string top = script.value(Section::Background, script::key::Top, "");
  if (!top.empty()) settings.topColour = parseColour(top);
  if (script.number(Section::Background, script::key::Gradient, "1") != 0) {
    settings.mode = paint::flag::Gradient;
    settings.vertical = script.number(Section::Background, script::key::Vert, "0") != 0;
    settings.secondColour =
        parseColour(script.value(Section::Background, script::key::Bottom, "0x00000000"));
  } else {
    settings.mode = paint::flag::Plain;
  }
  std::string bitmap = script.value(Section::Background, script::key::BmpName, "");
  if (!bitmap.empty()) {
    settings.bitmapPath = sourceFolder + bitmap;
    settings.bitmapMode = script.number(Section::Background, script::key::BmpMode, "0");
  }
  return settings;
}

int configureBackground(paint::CBackgroundWnd& painter, const InstallWindowSettings& settings,
                        platform::Machine& machine) {
  painter.title = settings.title;
  painter.plainColour = settings.topColour ? *settings.topColour : machine.system().desktopColour();
  painter.mode = settings.mode;
  painter.vertical = settings.vertical;
  if (settings.mode == paint::flag::Gradient) {
    painter.firstColour = painter.plainColour;
    painter.secondColour = settings.secondColour;
  }
  if (settings.bitmapPath.empty()) return 0;
  int code = painter.LoadBitmapFile(machine.files(), settings.bitmapPath, true);
  if (code == 0) painter.mode = modeWithBitmap(painter.mode, settings.bitmapMode);
  return code;
}

}  // namespace vandrel::setup
