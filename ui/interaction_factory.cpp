// Choosing the backend: the environment, the answers file, the transcript and the GUI hook.
#include <cstdio>
#include <cstdlib>

#include "ui/answers.h"
#include "ui/answers_recorder.h"
#include "platform/text/text_rules.h"
#include "ui/console_interaction.h"
#include "ui/dialog_text.h"
#include "ui/gui_reach.h"
#include "ui/interaction.h"
#include "ui/scripted_interaction.h"
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

std::optional<std::string> answersFileProblem(Program program, const InteractionSettings& settings) {
  // The scripted backend answers from the file, and so does the gui when one is given.
  if (settings.answersFile.empty() || chooseBackend(settings.backend, false) == "console") {
    return std::nullopt;
  }
  std::string error;
  if (Answers::fromFile(settings.answersFile, &error)) return std::nullopt;
  return std::string(commandName(program)) + ": " + error;
}

InteractionSettings InteractionSettings::fromEnvironment() {
  InteractionSettings settings;
  settings.backend = chooseBackend("");
  settings.backendNamed = !text::trim(environment("VANDREL_UI"), text::kWhiteSpace).empty();
  settings.answersFile = environment("VANDREL_ANSWERS");
  settings.transcriptFile = environment("VANDREL_TRANSCRIPT");
  settings.recordFile = environment("VANDREL_RECORD");
  settings.screenshotFolder = environment("VANDREL_SCREENSHOTS");
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
    interaction = std::make_unique<ScriptedInteraction>(loadAnswers(settings.answersFile), stderr,
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

}  // namespace vandrel::ui
