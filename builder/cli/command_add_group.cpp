// corvix add-group DOC --name NAME: a program group (or a run-time folder such as
// "[startup]"), checked as the group page checks it.
#include "builder/cli/command_entries.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

namespace {

struct GroupOptions : EntryTarget {
  std::string name;
};

}  // namespace

CommandRun defineAddGroup(CommandLine& sub) {
  auto options = std::make_shared<GroupOptions>();
  declareDocument(sub, *options, "the document that receives the group");
  sub.requiredOption("--name", options->name, "the group's name");
  declareNoSave(sub, *options);
  return [options](CommandContext& context) {
    PageFill fill = [options](pages::EntryPage& entryPage, CScriptDoc&) {
      std::get<pages::CGrpPropDlg>(entryPage).name = platform::utf8ToCp1252(options->name);
      return requireText("--name", options->name);
    };
    return addEntryThroughPage(context, *options, category::Groups, fill);
  };
}

}  // namespace vandrel::builder::cli
