// A document window's commands, keys and file drop.
#include "builder/frame/document_commands.h"

#include "builder/assistants/assistants.h"
#include "builder/codec/document_io.h"
#include "builder/frame/command_state.h"
#include "builder/frame/frame_commands.h"
#include "builder/generate/file_check.h"
#include "builder/generate/integrity_check.h"
#include "builder/generate/test_install.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder::frame {

DocumentCommands::DocumentCommands(ScriptDocument& document, TreeCommands& tree, DocumentView& view,
                                   const BuilderPreferences& preferences, ui::Interaction& ui,
                                   ProgressService& progress, std::function<void()> escape)
    : document_(document),
      tree_(tree),
      view_(view),
      preferences_(preferences),
      ui_(ui),
      progress_(progress),
      escape_(std::move(escape)) {}

DocumentCommands::~DocumentCommands() = default;

CommandState DocumentCommands::state(int cmd) const {
  return documentCommandState(cmd, document_.undo(), tree_);
}

bool DocumentCommands::edit(const std::string& name, const std::function<bool()>& action) {
  bool done = document_.undo().perform(name, action);
  // The tree may have dropped the selected item (an erase); the window shows what it holds.
  ItemHandle selection = document_.tree().selection();
  view_.selectItem(selection ? selection : document_.tree().root());
  view_.changed();
  return done;
}

bool DocumentCommands::properties() {
  return edit(str(sid::PropertiesCaption), [this] {
    PropertiesTarget target = tree_.properties();
    switch (target.kind) {
      case PropertiesTarget::Kind::Background: return view_.backgroundSheet();
      case PropertiesTarget::Kind::EndOfInstall: return view_.endSheet();
      case PropertiesTarget::Kind::InstallSummary: return view_.summarySheet();
      case PropertiesTarget::Kind::SettingsPage: return view_.settingsSheet(target.page);
      case PropertiesTarget::Kind::Entry: return true;
      case PropertiesTarget::Kind::None: return false;
    }
    return false;
  });
}

bool DocumentCommands::run(int cmd) {
  ScriptTree& tree = document_.tree();
  if (!state(cmd).enabled) return false;
  if (const EntryKind* kind = entryKindOfCommand(cmd)) {
    int category = kind->category;
    return edit(str(sid::NewPrefix) + entryKindName(category), [this, category] { return tree_.addEntry(category); });
  }
  if (cmd >= builder::command::FirstAssistant && cmd <= builder::command::LastAssistant) {
    int number = cmd - builder::command::FirstAssistant + 1;
    return edit(assistants::assistantTitle(number), [this, number] { return view_.assistant(number); });
  }
  switch (cmd) {
    case command::Undo: {
      bool done = document_.undo().undo();
      view_.changed();
      return done;
    }
    case command::Redo: {
      bool done = document_.undo().redo();
      view_.changed();
      return done;
    }
    case builder::command::SmallIcons:
      tree_.toggleIconSize();
      view_.iconSizeChanged();
      view_.changed();
      return true;
    case builder::command::GeneralSettings:
      return edit(str(sid::SettingsCaption), [this] { return view_.settingsSheet(0); });
    case builder::command::BackgroundSettings:
      return edit("Background", [this] { return view_.backgroundSheet(); });
    case builder::command::EndSettings:
      return edit("End of Install", [this] { return view_.endSheet(); });
    case builder::command::Erase:
      return edit("Erase", [this] { return tree_.erase(); });
    case builder::command::Properties:
      return properties();
    case builder::command::AddCurrent:
      return edit(str(sid::NewPrefix), [this] { return tree_.addCurrent(); });
    case builder::command::ToggleUninstall:
    case builder::command::ToggleExpand:
    case builder::command::ToggleForceCopy:
    case builder::command::ToggleShared:
      return edit("Toggle", [this, cmd] { return tree_.toggle(cmd); });
    case builder::command::CheckIntegrity: {
      IntegrityCheckOptions options;
      options.defEdit = preferences_.defEdit;
      IntegrityCheckResult result = runIntegrityCheck(document_.doc, tree, document_.context(), options);
      view_.changed();
      return result.outcome == IntegrityCheckResult::Outcome::Done;
    }
    case builder::command::CheckFiles:
      return edit("Check Source Files", [this] {
        FileCheckResult result = runFileCheck(document_.doc, document_.context());
        ui::Message report;
        report.caption = str(sid::Title);
        report.text = fileCheckReport(result);
        report.icon = ui::Icon::Information;
        ui_.message(report);
        return result.corrected > 0;
      });
    case builder::command::Summary:
      return edit("Summary", [this] { return view_.summarySheet(); });
    case builder::command::MergeScript:
      return mergeScript();
    case builder::command::Generate:
      return generate(false);
    case builder::command::GenerateScript:
      return generate(true);
    case builder::command::TestInstall:
      return testInstall();
    default:
      return false;
  }
}

bool DocumentCommands::generate(bool scriptOnly) {
  return edit(scriptOnly ? "Generate Script" : "Generate", [this, scriptOnly] {
    generator_ = std::make_unique<PackageGenerator>(document_.doc, document_.tree().entryOrder(),
                                                    document_.context());
    bool done = scriptOnly ? generator_->regenerateScript() : generator_->generate() == GenerateOutcome::Complete;
    keepGenerationChoices(document_.doc, *generator_);
    return done;
  });
}

bool DocumentCommands::testInstall() {
  return edit("Test", [this] {
    // The package generated last is tested; without one, a generator over the document.
    if (!generator_) {
      generator_ = std::make_unique<PackageGenerator>(document_.doc, document_.tree().entryOrder(),
                                                      document_.context());
    }
    TestInstallResult result = runTestInstall(document_.doc, *generator_, document_.context());
    return result.outcome == TestInstallOutcome::Started;
  });
}

bool DocumentCommands::mergeScript() {
  std::optional<std::string> chosen;
  if (std::optional<std::string> host =
          view_.chooseFile(str(sid::PickImportTitle), "Corvix Scripts (*.cvx);;All (*)")) {
    chosen = document_.context().files.windowsPath(*host);
  }
  return edit("Merge script", [this, &chosen] {
    LoadDiagnostics diagnostics;
    bool read = importScript(document_.doc, chosen, ui_, &diagnostics);
    if (read) {
      document_.tree().syncFromDocument();
      for (const EntryKind& kind : kEntryKinds) document_.tree().sortCategory(kind.category);
    }
    return read;
  });
}

bool DocumentCommands::dropFiles(const std::vector<std::string>& hostPaths) {
  std::vector<std::string> dropped;
  for (const std::string& host : hostPaths) {
    if (std::optional<std::string> windows = document_.context().files.windowsPath(host)) {
      dropped.push_back(*windows);
    }
  }
  if (dropped.empty()) return false;
  return edit("Drop", [this, &dropped] {
    std::unique_ptr<dropimport::DropDialogs> windows = view_.dropDialogs();
    dropimport::DropImport import(document_.tree(), preferences_, document_.context().files, ui_, *windows);
    import.addDirectoryCommand = [this] { return tree_.addEntry(category::Directories); };
    dropimport::DropResult result = import.run(dropped);
    return result.files + result.directories > 0;
  });
}

bool DocumentCommands::key(TreeKey key) {
  switch (key) {
    case TreeKey::Enter:
      run(builder::command::Properties);
      return true;
    case TreeKey::Escape:
      progress_.requestCancel();
      if (escape_) escape_();
      return true;
    case TreeKey::Other:
      return false;
  }
  return false;
}

}  // namespace vandrel::builder::frame
