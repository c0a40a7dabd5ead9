// How a registered gui backend reaches its window system, for backends whose window system is
// always there (the Windows desktop): registered so, gui becomes the default interface
// without any display variable.
#pragma once

#include "ui/interaction.h"

namespace vandrel::ui {

enum class GuiReach {
  DisplayVariables,  // DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM must name a display
  Always,            // displayAvailable() is true while the backend is registered
};

void registerGuiBackend(GuiFactory factory, GuiReach reach);

}  // namespace vandrel::ui
