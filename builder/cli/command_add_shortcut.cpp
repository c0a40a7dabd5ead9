// corvix add-shortcut DOC --file FILE --group GROUP --name NAME [--arguments TEXT]: a shortcut
// in a group opening one of the document's files, checked as the shortcut page checks it.
#include "builder/cli/command_entries.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

namespace {

struct ShortcutOptions : EntryTarget {
  std::string file, group, name;
  std::optional<std::string> arguments;
};

}  // namespace

CommandRun defineAddShortcut(CommandLine& sub) {
  auto options = std::make_shared<ShortcutOptions>();
  declareDocument(sub, *options, "the document that receives the shortcut");
  sub.requiredOption("--file", options->file,
                     "the file it opens: its number in `corvix list DOC files`, its name or its "
                     "destination path ([Install]\\app.exe)");
  sub.requiredOption("--group", options->group,
                     "the group it goes in: its number in `corvix list DOC groups` or its name");
  sub.requiredOption("--name", options->name, "the shortcut's name");
  sub.option("--arguments", options->arguments, "the command line given to the file");
  declareNoSave(sub, *options);
  return [options](CommandContext& context) {
    PageFill fill = [options](pages::EntryPage& entryPage, CScriptDoc& doc) {
      auto& page = std::get<pages::CAddGroupDlg>(entryPage);
      EntryKey file = 0, group = 0;
      OptionChecks checks;
      checks.then([&] { return entryReference(doc, category::Files, "--file", options->file, file); })
          .then([&] { return entryReference(doc, category::Groups, "--group", options->group, group); })
          .require("--name", options->name);
      page.file = pages::indexOfKey(page.files, file);
      page.group = pages::indexOfKey(page.groups, group);
      page.name = platform::utf8ToCp1252(options->name);
      page.commandLine = platform::utf8ToCp1252(options->arguments.value_or(""));
      return checks.refusal();
    };
    return addEntryThroughPage(context, *options, category::ProgramAdds, fill);
  };
}

}  // namespace vandrel::builder::cli
