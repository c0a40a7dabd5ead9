// The programs' gui backend in a build with Qt: the Qt windows live in vandrel-gui-qt.so,
// loaded only when the gui interaction is made, so scripted and console runs load no Qt.
#include "ui/gui_module_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "ui/folder_picker_model.h"
#include "ui/gui_module.h"
#include "ui/gui_reach.h"
#include "ui/window_backend.h"

namespace vandrel::ui {

namespace {

void* gModule = nullptr;
bool gActive = false;

std::string ownFolder() {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.parent_path().string();
}

void addCandidate(std::vector<std::string>& list, const std::string& folder) {
  if (folder.empty()) return;
  std::string file = folder + "/" VANDREL_GUI_MODULE_FILE;
  for (const std::string& known : list) {
    if (known == file) return;
  }
  list.push_back(file);
}

// The module is refused when its entry points were built from other sources than ours.
bool stampMatches(void* module, std::string* problem, const std::string& file) {
  auto stamp = reinterpret_cast<VandrelGuiStampFn>(dlsym(module, kGuiStampEntry));
  if (stamp && std::strcmp(stamp(), kGuiModuleStamp) == 0) return true;
  *problem = file + " belongs to another build";
  return false;
}

void* openModule(const std::vector<std::string>& candidates, std::string* problem) {
  std::string folders;
  for (const std::string& file : candidates) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
      folders += (folders.empty() ? "" : ", ") + std::filesystem::path(file).parent_path().string();
      continue;
    }
    // The module stays to the process's end: its windows and Qt's globals live there.
    void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
      const char* reason = dlerror();
      *problem = reason ? reason : file;
      return nullptr;
    }
    if (!stampMatches(module, problem, file)) return nullptr;
    return module;
  }
  *problem = "no " VANDREL_GUI_MODULE_FILE " in " + folders;
  return nullptr;
}

std::unique_ptr<Interaction> makeModuleInteraction(int& argc, char** argv, platform::FileSystem& files,
                                                   Program program, const InteractionSettings& settings) {
  if (!displayAvailable()) {
    std::fprintf(stderr, "%s: no display (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM); using the console.\n",
                 commandName(program));
    return nullptr;
  }
  std::string problem;
  if (!loadGuiModule(&problem)) {
    std::fprintf(stderr, "%s: cannot load the graphical interface: %s; using the console.\n",
                 commandName(program), problem.c_str());
    return nullptr;
  }
  auto make = reinterpret_cast<VandrelGuiMakeInteractionFn>(guiModuleEntry(kGuiMakeInteractionEntry));
  if (!make) {
    std::fprintf(stderr, "%s: cannot load the graphical interface: %s has no %s; using the console.\n",
                 commandName(program), VANDREL_GUI_MODULE_FILE, kGuiMakeInteractionEntry);
    return nullptr;
  }
  std::unique_ptr<Interaction> gui(make(&argc, argv, &files, program, &settings));
  if (gui) gActive = true;
  return gui;
}

}  // namespace

std::vector<std::string> guiModuleCandidates() {
  std::vector<std::string> list;
  if (const char* named = std::getenv("VANDREL_GUI_MODULE"); named && *named) {
    list.push_back(named);
    return list;
  }
  addCandidate(list, ownFolder());
  addCandidate(list, VANDREL_GUI_MODULE_BUILD_FOLDER);
  return list;
}

void* loadGuiModule(std::string* problem) {
  if (gModule) return gModule;
  gModule = openModule(guiModuleCandidates(), problem);
  // The module's pickers keep their own list of the folders they made.
  if (auto made = gModule ? reinterpret_cast<VandrelGuiFoldersMadeFn>(dlsym(gModule, kGuiFoldersMadeEntry)) : nullptr) {
    countFoldersMadeIn(made());
  }
  return gModule;
}

void* guiModuleEntry(const char* name) { return gModule ? dlsym(gModule, name) : nullptr; }

void registerWindowBackend(int& argc, char** argv, platform::FileSystem& files) {
  registerGuiBackend([&argc, argv, &files](Program program, const InteractionSettings& settings) {
    return makeModuleInteraction(argc, argv, files, program, settings);
  });
}

bool windowBackendActive() { return gActive; }

}  // namespace vandrel::ui

#if defined(__SANITIZE_ADDRESS__)
// Fontconfig, which Qt asks for the fonts, keeps what it read to the process's end; the leak
// checker of the sanitizer builds is told not to count it. The checker reads these from the
// program, not from the module that brings Qt in.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif
