// The Win32 builder's start-up, its status-bar progress and its exit.
#include "builder/win32/builder_run.h"

#include <windows.h>

#include <shellapi.h>

#include "builder/generate/headless_session.h"
#include "builder/prefs/preference_rules.h"
#include "builder/prefs/registry_store.h"
#include "builder/win32/main_frame.h"
#include "ui/win32/win32_interaction.h"

namespace vandrel::builder::win32 {

std::vector<std::string> droppedFiles(HDROP drop) {
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<std::string> files;
  for (UINT i = 0; i < count; ++i) {
    char path[MAX_PATH] = {};
    DragQueryFileA(drop, i, path, MAX_PATH);
    files.emplace_back(path);
  }
  DragFinish(drop);
  return files;
}

void pumpAll() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

DialogContext FrameCore::dialogs(HWND parent) {
  DialogContext context = dialogContext(parent, ui, &machine.files());
  if (!context.autopilot) context.autopilot = autopilot;
  return context;
}

void FrameCore::standOver(HWND frame) {
  ui::Interaction* port = &ui;
  if (auto* wrapper = dynamic_cast<FrameInteraction*>(port)) port = &wrapper->inner();
  if (auto* backend = dynamic_cast<ui::win32::Win32Interaction*>(port)) backend->setOwner(frame);
}

BuilderRun::BuilderRun(platform::Machine& machine, std::unique_ptr<ui::Interaction> port, bool unattended)
    : port_(std::make_unique<FrameInteraction>(std::move(port))),
      core_(std::make_unique<FrameCore>(machine, *port_)) {
  core_->unattended = unattended;
  core_->escape = [this] { port_->escape(); };
  // The dialogs are driven by the answers of the gui backend the port wraps.
  if (auto* backend = dynamic_cast<ui::win32::Win32Interaction*>(&port_->inner())) {
    core_->autopilot = backend->autopilot();
  }
}

BuilderRun::~BuilderRun() {
  if (port_) port_->setFrame(nullptr);
  frame_.reset();
}

bool BuilderRun::start(const std::vector<std::string>& documents) {
  platform::Registry& registry = core_->machine.registry();
  core_->preferences = prefs::readRegistryPreferences(registry);
  core_->recentFiles = prefs::readRegistryRecentFiles(registry);
  prefs::WindowState stored = prefs::readRegistryWindowState(registry);
  if (core_->preferences.loadOnOpen) {
    core_->window = stored;
  } else {
    // Without loading: a plain teal background, light grey second colour, no bitmap; the
    // frame's own geometry is still the one stored.
    core_->window.kind = 128;
    core_->window.firstColour = 0x808000;
    core_->window.secondColour = 0xC0C0C0;
    core_->window.gradDir = 0;
    core_->window.top = stored.top;
    core_->window.left = stored.left;
    core_->window.width = stored.width;
    core_->window.height = stored.height;
    core_->window.status = stored.status;
  }
  frame_ = std::make_unique<MainFrame>(*core_);
  if (!frame_->create()) return false;
  port_->setFrame(frame_.get());
  frame_->showAsStored();
  bool all = true;
  for (const std::string& document : documents) all = frame_->openDocument(document) != nullptr && all;
  frame_->updateCommands();
  pumpAll();
  return all;
}

void BuilderRun::greet() {
  // The tip of the day follows the splash, once it has closed.
  AppContext& app = frame_->app();
  HWND frame = frame_->handle();
  HWND splash = showSplash(app, [&app, frame] {
    if (IsWindow(frame)) runTipOfTheDay(app, true);
  });
  if (!splash) runTipOfTheDay(app, true);
}

void BuilderRun::exit() {
  if (!core_->preferences.saveOnExit) return;
  platform::Registry& registry = core_->machine.registry();
  prefs::writeRegistryPreferences(registry, core_->preferences);
  prefs::writeRegistryRecentFiles(registry, core_->recentFiles);
  prefs::writeRegistryWindowState(registry, core_->window);
}

}  // namespace vandrel::builder::win32
