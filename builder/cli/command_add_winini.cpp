// corvix add-winini DOC --section SECTION --entry ENTRY [--value VALUE]: a Win.ini entry,
// checked as the Win.ini page checks it.
#include "builder/cli/command_entries.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

namespace {

struct WinIniOptions {
  std::string document, section, entry;
  std::optional<std::string> value;
  bool noSave = false;
};

}  // namespace

CommandRun defineAddWinIni(CommandLine& sub) {
  auto options = std::make_shared<WinIniOptions>();
  sub.argument("DOC", options->document, "the document that receives the entry");
  sub.requiredOption("--section", options->section, "the Win.ini section, without brackets");
  sub.requiredOption("--entry", options->entry, "the entry's name in the section");
  sub.option("--value", options->value, "the entry's value (default: empty)");
  sub.flag("--no-save", options->noSave, "leave the document file unchanged");
  return [options](CommandContext& context) {
    PageFill fill = [options](pages::EntryPage& entryPage, CScriptDoc&) {
      auto& page = std::get<pages::CINIPropDlg>(entryPage);
      page.section = platform::utf8ToCp1252(options->section);
      page.entry = platform::utf8ToCp1252(options->entry);
      page.value = platform::utf8ToCp1252(options->value.value_or(""));
      std::string error = requireText("--section", options->section);
      return error.empty() ? requireText("--entry", options->entry) : error;
    };
    return addEntryThroughPage(context, options->document, category::WinIni, fill,
                               options->noSave);
  };
}

}  // namespace vandrel::builder::cli
