// vandrel-paint: renders the install window's background for a script into a PNG file,
// through the same painter the setup engine uses.
#include <CLI/CLI.hpp>

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>

#include "platform/exit_statuses.h"
#include "platform/program_start.h"
#include "script/script_reader.h"
#include "setup/install_window.h"
#include "setup/strings/setup_strings.h"
#include "paint/qt/qt_canvas.h"

using namespace vandrel;
namespace fs = std::filesystem;

namespace {

constexpr int kUsageError = 2;
constexpr int kMaxSide = 16384;

int fail(const std::string& message) {
  std::cerr << "vandrel-paint: " << message << "\n";
  return 1;
}

std::optional<paint::Rect> parseClip(const std::string& text) {
  paint::Rect r;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%d,%d,%d,%d%c", &r.left, &r.top, &r.right, &r.bottom, &tail) != 4)
    return std::nullopt;
  return r;
}

struct Options {
  std::string script;
  int width = 0;
  int height = 0;
  std::string out;
  bool builder = false;
  std::string clip;
};

int renderPicture(const Options& o, const char* argv0) {
  std::optional<paint::Rect> clip;
  if (!o.clip.empty()) {
    clip = parseClip(o.clip);
    if (!clip) {
      std::cerr << "vandrel-paint: --clip takes L,T,R,B (four whole numbers): " << o.clip << "\n";
      return kUsageError;
    }
  }
  std::error_code ec;
  if (!fs::is_regular_file(o.script, ec)) return fail("cannot read " + o.script + ": no such file");
  std::unique_ptr<platform::Machine> machine = platform::openProgramMachine("vandrel-paint", argv0);
  if (!machine) return 1;
  std::optional<std::string> scriptPath = machine->files().windowsPath(fs::absolute(o.script));
  if (!scriptPath) return fail(o.script + " is not reachable from the machine");

  script::ScriptReader script(machine->profile(), *scriptPath);
  const std::string sourceFolder = scriptPath->substr(0, scriptPath->rfind('\\') + 1);
  setup::InstallWindowSettings settings =
      setup::readInstallWindowSettings(script, setup::setupStrings(), sourceFolder);
  paint::CBackgroundWnd painter(o.builder ? paint::PainterKind::Builder
                                : paint::PainterKind::Setup);
  int code = setup::configureBackground(painter, settings, *machine);
  if (code != 0) {
    // The setup engine says nothing here; the tool says why the picture is missing.
    std::cerr << "vandrel-paint: the bitmap " << settings.bitmapPath << " is not shown (code "
              << code << ")\n";
  }

  QImage image = paint::renderBackground(painter, {o.width, o.height}, clip);
  if (!image.save(QString::fromStdString(o.out), "PNG")) return fail("cannot write " + o.out);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Renders the install window's background for a script (Script.vrx) into a PNG "
               "file. The bitmap is read from the script's folder through the machine of "
               "VANDREL_MACHINE.",
               "vandrel-paint"};
  app.footer(platform::exitStatusHelp("vandrel-paint"));
  app.set_version_flag("--version", "vandrel-paint " VANDREL_VERSION);
  Options o;
  app.add_option("SCRIPT", o.script, "the install script (host path)")->required();
  app.add_option("WIDTH", o.width, "window width in pixels")->required()->check(CLI::Range(1, kMaxSide));
  app.add_option("HEIGHT", o.height, "window height in pixels")->required()->check(CLI::Range(1, kMaxSide));
  app.add_option("OUT", o.out, "the PNG file to write")->required();
  app.add_flag("--builder", o.builder, "the builder's painter (flags 16 and 32 traded)");
  app.add_option("--clip", o.clip, "paint only the part L,T,R,B (the rest stays black)");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help, --version
    std::cerr << "vandrel-paint: " << e.what() << "\n";
    return kUsageError;
  }
  // Nothing is shown on a screen: without a chosen platform Qt draws off screen.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication qt(argc, argv);
  try {
    return renderPicture(o, argv[0]);
  } catch (const std::exception& e) {
    return fail(e.what());
  }
}
