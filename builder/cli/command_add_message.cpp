// corvix add-message DOC --file PATH [--disk N]: a message file shown when a disk is inserted.
// The file is named as the message page's "Browse..." names it: its name and full path.
#include <filesystem>

#include "builder/cli/command_entries.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

namespace {

struct MessageOptions : EntryTarget {
  std::string file;
  std::optional<int> disk;
};

}  // namespace

CommandRun defineAddMessage(CommandLine& sub) {
  auto options = std::make_shared<MessageOptions>();
  declareDocument(sub, *options, "the document that receives the message");
  sub.requiredOption("--file", options->file, "the message file (a text shown at the disk)");
  sub.option("--disk", options->disk,
             "the disk it is shown at (default: the highest disk of the files)", 0, 9999);
  declareNoSave(sub, *options);
  return [options](CommandContext& context) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(options->file, error))
      return usageError(context, "--file: no such file: " + options->file);
    std::optional<std::string> path = context.windowsPath(options->file);
    if (!path) return fail(context, "--file: the path cannot be reached from the machine: " + options->file);
    PageFill fill = [options, chosen = *path](pages::EntryPage& entryPage, CScriptDoc&) {
      auto& page = std::get<pages::CMsgPropDlg>(entryPage);
      page.browse(chosen);
      if (options->disk) page.disk = *options->disk;
      return std::string();
    };
    return addEntryThroughPage(context, *options, category::Messages, fill);
  };
}

}  // namespace vandrel::builder::cli
