// Choosing the backend: the environment, the answers file, the transcript and the GUI hook.
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "platform/host_output.h"
#include "ui/answers.h"
#include "ui/answers_recorder.h"
#include "platform/text/text_rules.h"
#include "ui/console_interaction.h"
#include "ui/dialog_text.h"
#include "ui/gui_reach.h"
#include "ui/interaction.h"
#include "ui/scripted_interaction.h"
#include "ui/stop_notice.h"
#include "ui/transcript_recorder.h"

namespace vandrel::ui {

namespace {

GuiFactory& guiFactory() {
  static GuiFactory factory;
  return factory;
}

GuiReach& guiReach() {
  static GuiReach reach = GuiReach::DisplayVariables;
  return reach;
}

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string defaultBackend() { return displayAvailable() ? "gui" : "console"; }

// The backend name to use: the one asked for, else VANDREL_UI, else by display. An unknown
// name is reported and replaced by the default.
std::string chooseBackend(const std::string& asked, bool warn = true) {
  std::string name = text::toLower(text::trim(asked.empty() ? environment("VANDREL_UI") : asked, text::kWhiteSpace));
  if (name.empty()) return defaultBackend();
  if (name == "gui" || name == "console" || name == "scripted") return name;
  std::string fallback = defaultBackend();
  if (!warn) return fallback;
  std::fprintf(stderr, "vandrel: unknown interface \"%s\" in VANDREL_UI; using %s.\n",
               name.c_str(), fallback.c_str());
  return fallback;
}

Answers loadAnswers(const std::string& path) {
  if (path.empty()) return Answers();
  std::string error;
  std::optional<Answers> answers = Answers::fromFile(path, &error);
  if (answers) return std::move(*answers);
  // The programs refuse such a file at their start (answersFileProblem); one that went away
  // since then leaves the default answers.
  std::fprintf(stderr, "vandrel: %s; every question takes its default answer.\n",
               error.c_str());
  return Answers();
}

// The answers of a scripted run: the file's, with the destination folder the run was given.
Answers runAnswers(const InteractionSettings& settings) {
  Answers answers = loadAnswers(settings.answersFile);
  if (!settings.destinationFolder.empty()) answers.setDestination(settings.destinationFolder);
  return answers;
}

}  // namespace

bool displayAvailable() {
  if (guiFactory() && guiReach() == GuiReach::Always) return true;
  return !environment("DISPLAY").empty() || !environment("WAYLAND_DISPLAY").empty() ||
         !environment("QT_QPA_PLATFORM").empty();
}

bool explainsOnStandardError(const InteractionSettings& settings) {
  return chooseBackend(settings.backend, false) != "gui" || !guiFactory();
}

const char* commandName(Program program) {
  switch (program) {
    case Program::Setup:
      return "tamsin32";
    case Program::Uninstall:
      return "peskin32";
    case Program::Builder:
      return "corvix";
  }
  return "vandrel";
}

bool answersFileUsed(const InteractionSettings& settings) {
  // The scripted backend answers from the file, and so does the gui when one is given.
  return chooseBackend(settings.backend, false) != "console";
}

std::optional<std::string> answersFileProblem(Program program, const InteractionSettings& settings) {
  if (settings.answersFile.empty() || !answersFileUsed(settings)) return std::nullopt;
  std::string error;
  if (Answers::fromFile(settings.answersFile, &error)) return std::nullopt;
  return std::string(commandName(program)) + ": " + error;
}

std::optional<std::string> runFilesProblem(Program program, const InteractionSettings& settings,
                                           const std::string& actionLog) {
  struct Named {
    const char* what;
    const std::string& path;
    bool written;
  };
  const Named files[] = {{"the answers file", settings.answersFile, false},
                         {"the transcript", settings.transcriptFile, true},
                         {"the action log", actionLog, true},
                         {"the recorded answers file", settings.recordFile, true}};
  const std::string prefix = std::string(commandName(program)) + ": ";
  for (const Named& file : files) {
    if (!file.written || file.path.empty()) continue;
    if (std::optional<std::string> why = platform::notARegularFile(file.path))
      return prefix + file.what + " " + file.path + " " + *why;
  }
  for (std::size_t i = 0; i < std::size(files); ++i) {
    for (std::size_t j = i + 1; j < std::size(files); ++j) {
      const Named& a = files[i];
      const Named& b = files[j];
      if (a.path.empty() || b.path.empty() || !(a.written || b.written)) continue;
      if (!platform::sameHostFile(a.path, b.path)) continue;
      return prefix + a.what + " and " + b.what + " are one file, " + b.path +
             ": each needs a file of its own";
    }
  }
  return std::nullopt;
}

InteractionSettings InteractionSettings::fromEnvironment() {
  InteractionSettings settings;
  settings.backend = chooseBackend("");
  settings.backendNamed = !text::trim(environment("VANDREL_UI"), text::kWhiteSpace).empty();
  settings.answersFile = environment("VANDREL_ANSWERS");
  settings.transcriptFile = environment("VANDREL_TRANSCRIPT");
  settings.recordFile = environment("VANDREL_RECORD");
  settings.screenshotFolder = environment("VANDREL_SCREENSHOTS");
  settings.destinationFolder = environment("VANDREL_DIR");
  return settings;
}

void registerGuiBackend(GuiFactory factory, GuiReach reach) {
  guiFactory() = std::move(factory);
  guiReach() = reach;
}

void registerGuiBackend(GuiFactory factory) { registerGuiBackend(std::move(factory), GuiReach::DisplayVariables); }

std::unique_ptr<Interaction> makeInteraction(Program program,
                                             const InteractionSettings& settings) {
  std::string backend = chooseBackend(settings.backend);
  std::unique_ptr<Interaction> interaction;
  if (backend == "gui") {
    // Asked for by name (not merely the default of a display), a missing gui is reported.
    if (guiFactory()) {
      interaction = guiFactory()(program, settings);
    } else if (settings.backendNamed) {
      std::fprintf(stderr, "%s: this build has no graphical interface; using the console.\n",
                   commandName(program));
    }
  }
  if (!interaction && backend == "scripted") {
    interaction = std::make_unique<ScriptedInteraction>(runAnswers(settings), stderr,
                                                        commandName(program));
  }
  if (!interaction) interaction = ConsoleInteraction::onTerminal();
  if (!settings.recordFile.empty() && backend != "scripted") {
    interaction = std::make_unique<AnswersRecorder>(std::move(interaction), program,
                                                    settings.recordFile);
  }
  if (!settings.transcriptFile.empty()) {
    interaction = std::make_unique<TranscriptRecorder>(std::move(interaction), program,
                                                       settings.transcriptFile);
  }
  return interaction;
}

std::unique_ptr<Interaction> makeWindowInteraction(Program program, const InteractionSettings& settings) {
  if (chooseBackend(settings.backend, false) != "gui" || !guiFactory()) return nullptr;
  std::unique_ptr<Interaction> interaction = guiFactory()(program, settings);
  if (interaction && !settings.transcriptFile.empty()) {
    interaction = std::make_unique<TranscriptRecorder>(std::move(interaction), program, settings.transcriptFile);
  }
  return interaction;
}

}  // namespace vandrel::ui
