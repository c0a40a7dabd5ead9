// Test install: questions 310 to 314 and the start of the package's starter.
#include "builder/generate/test_install.h"

#include "builder/codec/document_io.h"
#include "builder/strings/builder_strings.h"
#include "platform/host_environment.h"
#include "ui/dialog_text.h"

namespace vandrel::builder {

namespace {

bool scriptIn(BuilderContext& context, const std::string& folder) {
  return !folder.empty() &&
         fileSize(context.files, withBackslash(folder) + str(sid::ScriptFileName)).has_value();
}

ui::Answer ask(BuilderContext& context, unsigned id, ui::Buttons buttons) {
  return context.ui.message({str(sid::AppName), str(id), buttons, ui::Icon::Question});
}

void inform(BuilderContext& context, unsigned id, const std::string& detail = {}) {
  ui::Message message{str(sid::AppName), str(id), ui::Buttons::OK, ui::Icon::Information};
  message.detail = detail;
  context.ui.message(message);
}

// Why the starter could not be started.
std::string starterProblem(BuilderContext& context, const std::string& starter) {
  return starter + (fileSize(context.files, starter) ? ": cannot be started" : ": not found");
}

// The author points at the package: true when its script was found.
bool searchPackage(CScriptDoc& doc, BuilderContext& context) {
  bool found = false;
  for (;;) {
    ui::FolderPrompt prompt;
    prompt.caption = str(sid::PickGeneratedFolder);
    prompt.text = prompt.caption;
    prompt.dummyName = "Junk";
    prompt.initialFolder = doc.settings.lastGenPath;
    std::optional<std::string> chosen = context.ui.folder(prompt);
    if (!chosen || chosen->size() < 4) break;
    doc.settings.lastGenPath = withBackslash(chosen->substr(0, chosen->size() - 4));
    if (scriptIn(context, doc.settings.lastGenPath)) {
      found = true;
      break;
    }
  }
  doc.setModifiedFlag();
  return found;
}

// The question just asked and its answer, for the reason a test install was not started:
// "the question "..." was answered No" (and "by default" when no one answered it).
std::string answered(BuilderContext& context, unsigned id, ui::Answer answer) {
  std::string text = str(id);
  for (char& c : text) c = c == '\r' || c == '\n' ? ' ' : c;
  return "the question \"" + text + "\" was answered " + ui::answerName(answer) +
         (context.ui.answeredByDefault() ? " by default" : "");
}

}  // namespace

TestInstallResult runTestInstall(CScriptDoc& doc, PackageGenerator& generator,
                                 BuilderContext& context, const GenerateOptions& options,
                                 StarterLaunch launch) {
  TestInstallResult notStarted;
  generator.clearGeneratedComplete();
  if (!scriptIn(context, doc.settings.lastGenPath)) {
    ui::Answer search = ask(context, sid::AskLocateGenerated, ui::Buttons::YesNoCancel);
    notStarted.whyNotStarted = "no package was found in the folder it was last generated to (" +
                               (doc.settings.lastGenPath.empty() ? std::string("none")
                                                                 : doc.settings.lastGenPath) +
                               ")";
    if (search == ui::Answer::Cancel) {
      notStarted.whyNotStarted += " (" + answered(context, sid::AskLocateGenerated, search) + ")";
      if (!doc.settings.lastGenPath.empty()) {
        doc.settings.lastGenPath.clear();
        doc.setModifiedFlag();
      }
      return notStarted;
    }
    if (search != ui::Answer::Yes || !searchPackage(doc, context)) {
      ui::Answer generate = ask(context, sid::AskGenerateFirst, ui::Buttons::YesNo);
      if (generate != ui::Answer::Yes) {
        notStarted.whyNotStarted += " and it was not generated (" +
                                    answered(context, sid::AskGenerateFirst, generate) + ")";
        return notStarted;
      }
      generator.generate(options);
      keepGenerationChoices(doc, generator);
      if (!generator.generatedComplete()) {
        inform(context, sid::GenerateIncomplete);
        notStarted.whyNotStarted += " and it could not be generated whole";
        return notStarted;
      }
    }
  }
  ui::Answer run = ask(context, sid::AskRunSetup, ui::Buttons::YesNo);
  if (run != ui::Answer::Yes) {
    notStarted.whyNotStarted = answered(context, sid::AskRunSetup, run);
    return notStarted;
  }
  // The setup started inherits the builder's answers file, which may also answer the
  // builder's own dialogs: the setup warns about those entries rather than refuse the file.
  platform::setHostEnvironment("VANDREL_ANSWERS_LENIENT", "1");
  std::string starter =
      withBackslash(doc.settings.lastGenPath) + strItem(sid::SetupFiles, 7, "setup.exe");
  if (launch == StarterLaunch::Wait) {
    std::optional<int> status =
        context.process ? context.process->runAndWait(starter) : std::nullopt;
    if (!status) {
      inform(context, sid::SetupNotFound, starterProblem(context, starter));
      notStarted.whyNotStarted = starterProblem(context, starter);
      return notStarted;
    }
    return {TestInstallOutcome::Started, status};
  }
  unsigned started = context.process ? context.process->winExec(starter, platform::show::Normal) : 0;
  if (started <= 31) {
    inform(context, sid::SetupNotFound, starterProblem(context, starter));
    notStarted.whyNotStarted = starterProblem(context, starter);
    return notStarted;
  }
  return {TestInstallOutcome::Started, std::nullopt};
}

}  // namespace vandrel::builder
