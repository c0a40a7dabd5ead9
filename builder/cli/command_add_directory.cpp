// corvix add-directory DOC --name NAME [--parent P] [--optional] [--description TEXT]: a
// directory of the package; an optional one is a component the user may leave out on the
// components page. Checked as the directory page checks it.
#include "builder/cli/command_entries.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

namespace {

struct DirectoryOptions : EntryTarget {
  std::string name;
  std::optional<int> parent;
  std::optional<std::string> description;
  bool optional = false;
};

}  // namespace

CommandRun defineAddDirectory(CommandLine& sub) {
  auto options = std::make_shared<DirectoryOptions>();
  declareDocument(sub, *options, "the document that receives the directory");
  sub.requiredOption("--name", options->name, "the folder's name, sub-folders joined by \\");
  sub.option("--parent", options->parent,
             "where it is made: 0 the installation folder (default), 1 the root of its drive, "
             "2 Windows System, 3 Windows", -1000000, 1000000);
  sub.flag("--optional", options->optional,
           "a component the user may leave out on the components page");
  sub.option("--description", options->description,
             "the component's text on the components page (default: the name)");
  declareNoSave(sub, *options);
  return [options](CommandContext& context) {
    PageFill fill = [options](pages::EntryPage& entryPage, CScriptDoc&) {
      auto& page = std::get<pages::CDirPropDlg>(entryPage);
      int parent = options->parent.value_or(0);
      if (parent < 0 || parent > 3) {
        return "--parent: " + std::to_string(parent) + " is out of range (0 to 3)";
      }
      page.name = platform::utf8ToCp1252(options->name);
      page.parent = parent;
      page.optional = options->optional;
      page.description = platform::utf8ToCp1252(options->description.value_or(options->name));
      return requireText("--name", options->name);
    };
    return addEntryThroughPage(context, *options, category::Directories, fill);
  };
}

}  // namespace vandrel::builder::cli
