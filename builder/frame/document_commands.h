// The commands of one document's window: which are enabled, what each does (every change of
// the document through its undo history), the keys of its tree and the files dropped on it,
// over the interface the window implements for its dialogs and its tree's display.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "builder/dropimport/drop_import.h"
#include "builder/frame/script_document.h"
#include "builder/generate/package_generator.h"
#include "builder/generate/progress_service.h"
#include "builder/tree/tree_commands.h"

namespace vandrel::builder::frame {

// What a document's window provides.
class DocumentView {
 public:
  virtual ~DocumentView() = default;
  // The sheets and assistants over the document; true when OK wrote them back.
  virtual bool settingsSheet(int startPage) = 0;
  virtual bool backgroundSheet() = 0;
  virtual bool endSheet() = 0;
  virtual bool summarySheet() = 0;
  virtual bool assistant(int number) = 0;
  // An open-file chooser (title, filter): the host path chosen, nullopt when cancelled.
  virtual std::optional<std::string> chooseFile(const std::string& title, const std::string& filter) = 0;
  // The drop import's windows.
  virtual std::unique_ptr<dropimport::DropDialogs> dropDialogs() = 0;
  // Selects an item of the tree, in the tree and on screen.
  virtual void selectItem(ItemHandle item) = 0;
  // The tree's pictures changed size.
  virtual void iconSizeChanged() = 0;
  // The document or the selection changed: titles, menus and toolbar follow.
  virtual void changed() = 0;
};

// The keys a document's tree takes for itself.
enum class TreeKey { Enter, Escape, Other };

class DocumentCommands {
 public:
  // tree: the tree's commands over the document's tree, with the window's entry dialogs.
  // escape: told when Escape cancels an operation whose progress has no Cancel button.
  DocumentCommands(ScriptDocument& document, TreeCommands& tree, DocumentView& view,
                   const BuilderPreferences& preferences, ui::Interaction& ui, ProgressService& progress,
                   std::function<void()> escape);
  ~DocumentCommands();

  CommandState state(int command) const;
  // Runs a command of the tree, the document or the Edit menu; false when it did nothing.
  bool run(int command);
  // Imports files and folders (host paths) dropped on the tree.
  bool dropFiles(const std::vector<std::string>& hostPaths);
  // Enter opens the selection's properties, Escape cancels the running operation; false for
  // the keys the tree handles as any tree does.
  bool key(TreeKey key);

 private:
  bool edit(const std::string& name, const std::function<bool()>& action);
  bool properties();
  bool generate(bool scriptOnly);
  bool testInstall();
  bool mergeScript();

  ScriptDocument& document_;
  TreeCommands& tree_;
  DocumentView& view_;
  const BuilderPreferences& preferences_;
  ui::Interaction& ui_;
  ProgressService& progress_;
  std::function<void()> escape_;
  std::unique_ptr<PackageGenerator> generator_;
};

}  // namespace vandrel::builder::frame
