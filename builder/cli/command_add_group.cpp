// corvix add-group DOC --name NAME: a program group (or a run-time folder such as
// "[startup]"), checked as the group page checks it.
#include "builder/cli/command_entries.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

namespace {

struct GroupOptions {
  std::string document, name;
  bool noSave = false;
};

}  // namespace

CommandRun defineAddGroup(CommandLine& sub) {
  auto options = std::make_shared<GroupOptions>();
  sub.argument("DOC", options->document, "the document that receives the group");
  sub.requiredOption("--name", options->name, "the group's name");
  sub.flag("--no-save", options->noSave, "leave the document file unchanged");
  return [options](CommandContext& context) {
    PageFill fill = [options](pages::EntryPage& entryPage, CScriptDoc&) {
      std::get<pages::CGrpPropDlg>(entryPage).name = platform::utf8ToCp1252(options->name);
      return requireText("--name", options->name);
    };
    return addEntryThroughPage(context, options->document, category::Groups, fill,
                               options->noSave);
  };
}

}  // namespace vandrel::builder::cli
