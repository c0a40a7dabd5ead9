// The Qt gui's process-wide services: screenshots, the backend's registration, the answers.
#include "ui/qt/gui_services.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

#include "platform/file_system.h"
#include "ui/answers.h"
#include "ui/dialog_text.h"
#include "ui/qt/qt_interaction.h"
#include "ui/qt/text_fit.h"
#include "ui/screenshot_names.h"
#include "ui/scripted_interaction.h"

namespace vandrel::ui::qt {

// ---- screenshots ----

Screenshots::Screenshots(std::string folder, Program program)
    : folder_(std::move(folder)), program_(program == Program::Builder ? "corvix" : programName(program)) {}

namespace {

// With VANDREL_TEXT_FIT naming a file, the texts each pictured window cuts off are added to it,
// one line each, named after the picture.
void noteCutTexts(const QWidget& window, const std::string& picture) {
  const char* report = std::getenv("VANDREL_TEXT_FIT");
  if (!report || !*report) return;
  std::string lines = describe(std::filesystem::path(picture).filename().string(), cutTexts(window));
  if (lines.empty()) return;
  if (std::FILE* out = std::fopen(report, "a")) {
    std::fputs(lines.c_str(), out);
    std::fclose(out);
  }
}

}  // namespace

std::string Screenshots::save(QWidget& window, const std::string& name) {
  if (folder_.empty()) return {};
  std::string file = nextScreenshotPath(folder_, program_, name, "png");
  if (file.empty()) {
    folder_.clear();
    return {};
  }
  QApplication::processEvents();
  if (!window.grab().save(QString::fromStdString(file), "PNG")) {
    std::fprintf(stderr, "vandrel: cannot write the screenshot %s\n", file.c_str());
    return {};
  }
  noteCutTexts(window, file);
  return file;
}

Screenshots& processScreenshots() {
  static Screenshots shots;
  return shots;
}

// ---- registration ----

namespace {

int* gArgc = nullptr;
char** gArgv = nullptr;
bool gActive = false;
std::shared_ptr<ScriptedInteraction> gAutopilot;

// The scripted answers a gui run follows when it has an answers file, with the destination
// folder the run was given.
std::unique_ptr<ScriptedInteraction> autopilotFor(Program program, const InteractionSettings& settings) {
  const std::string& path = settings.answersFile;
  if (path.empty()) return nullptr;
  std::string error;
  std::optional<Answers> answers = Answers::fromFile(path, &error);
  if (!answers) {
    std::fprintf(stderr, "%s: %s; every question takes its default answer.\n", commandName(program),
                 error.c_str());
    answers = Answers();
  }
  if (!settings.destinationFolder.empty()) answers->setDestination(settings.destinationFolder);
  return std::make_unique<ScriptedInteraction>(std::move(*answers), stderr, commandName(program));
}

// Qt's own notes that say nothing about the run (the offscreen platform's missing window
// sizing, the runtime folder's default) are dropped; everything else goes to standard error.
void qtMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtDebugMsg || text.contains("propagateSizeHints") || text.contains("XDG_RUNTIME_DIR")) return;
  (void)context;
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

std::unique_ptr<Interaction> makeQtInteraction(int& argc, char** argv, platform::FileSystem* files,
                                               Program program, const InteractionSettings& settings) {
  gArgc = &argc;
  gArgv = argv;
  // The application stays to the process's end: destroyed among the exit handlers, after
  // Qt's own globals, it would crash.
  [[maybe_unused]] static QApplication* application = nullptr;
  if (!QApplication::instance()) {
    qInstallMessageHandler(qtMessages);
    application = new QApplication(*gArgc, gArgv);
  }
  processScreenshots() = Screenshots(settings.screenshotFolder, program);
  gActive = true;
  gAutopilot = autopilotFor(program, settings);
  auto gui = std::make_unique<QtInteraction>(program, gAutopilot);
  gui->setFileSystem(files);
  return gui;
}

void registerQtBackend(int& argc, char** argv, platform::FileSystem* files) {
  registerGuiBackend([&argc, argv, files](Program program, const InteractionSettings& settings) -> std::unique_ptr<Interaction> {
    if (!displayAvailable()) {
      std::fprintf(stderr, "%s: no display (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM); using the console.\n",
                   commandName(program));
      return nullptr;
    }
    return makeQtInteraction(argc, argv, files, program, settings);
  });
}

bool guiActive() { return gActive; }

ScriptedInteraction* processAutopilot() { return gAutopilot.get(); }

}  // namespace vandrel::ui::qt

#if defined(__SANITIZE_ADDRESS__)
// Fontconfig, which Qt asks for the fonts, keeps what it read to the process's end; the leak
// checker of the sanitizer builds is told not to count it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif
