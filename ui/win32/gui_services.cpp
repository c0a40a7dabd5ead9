// The Windows gui's process-wide services: the backend's registration and the backend made.
#include "ui/win32/gui_services.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "ui/answers.h"
#include "ui/gui_reach.h"
#include "ui/scripted_interaction.h"
#include "ui/win32/win32_interaction.h"
#include "ui/win32/window_shots.h"

namespace vandrel::ui::win32 {

namespace {

bool gActive = false;
Win32Interaction* gBackend = nullptr;

// The scripted answers a gui run follows when it has an answers file, with the destination
// folder the run was given.
std::shared_ptr<ScriptedInteraction> autopilotFor(Program program, const InteractionSettings& settings) {
  const std::string& path = settings.answersFile;
  if (path.empty()) return nullptr;
  std::string error;
  std::optional<Answers> answers = Answers::fromFile(path, &error);
  if (!answers) {
    std::fprintf(stderr, "%s: %s; every question takes its default answer.\n", commandName(program), error.c_str());
    answers = Answers();
  }
  if (!settings.destinationFolder.empty()) answers->setDestination(settings.destinationFolder);
  return std::make_shared<ScriptedInteraction>(std::move(*answers), stderr, commandName(program));
}

}  // namespace

void registerWin32Backend(platform::FileSystem* files) {
  registerGuiBackend(
      [files](Program program, const InteractionSettings& settings) -> std::unique_ptr<Interaction> {
        processShots() = WindowShots(settings.screenshotFolder, program);
        auto gui = std::make_unique<Win32Interaction>(program, autopilotFor(program, settings));
        gui->setFileSystem(files);
        gActive = true;
        gBackend = gui.get();
        return gui;
      },
      GuiReach::Always);
}

bool guiActive() { return gActive; }

Win32Interaction* activeBackend() { return gBackend; }

}  // namespace vandrel::ui::win32
