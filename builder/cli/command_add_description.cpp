// corvix add-description DOC --text TEXT: a text shown while files are copied (a file takes it
// with `add --component`), checked as the description page checks it.
#include "builder/cli/command_entries.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

namespace {

struct DescriptionOptions : EntryTarget {
  std::string text;
};

}  // namespace

CommandRun defineAddDescription(CommandLine& sub) {
  auto options = std::make_shared<DescriptionOptions>();
  declareDocument(sub, *options, "the document that receives the description");
  sub.requiredOption("--text", options->text, "the text shown while its files are copied");
  declareNoSave(sub, *options);
  return [options](CommandContext& context) {
    PageFill fill = [options](pages::EntryPage& entryPage, CScriptDoc&) {
      std::get<pages::CSetDescDlg>(entryPage).text = platform::utf8ToCp1252(options->text);
      return requireText("--text", options->text);
    };
    return addEntryThroughPage(context, *options, category::Descriptions, fill);
  };
}

}  // namespace vandrel::builder::cli
