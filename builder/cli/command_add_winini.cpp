// corvix add-winini DOC --section SECTION --entry ENTRY [--value VALUE]: a Win.ini entry,
// checked as the Win.ini page checks it.
#include "builder/cli/command_entries.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

namespace {

struct WinIniOptions : EntryTarget {
  std::string section, entry;
  std::optional<std::string> value;
};

}  // namespace

CommandRun defineAddWinIni(CommandLine& sub) {
  auto options = std::make_shared<WinIniOptions>();
  declareDocument(sub, *options, "the document that receives the entry");
  sub.requiredOption("--section", options->section, "the Win.ini section, without brackets");
  sub.requiredOption("--entry", options->entry, "the entry's name in the section");
  sub.option("--value", options->value, "the entry's value (default: empty)");
  declareNoSave(sub, *options);
  return [options](CommandContext& context) {
    PageFill fill = [options](pages::EntryPage& entryPage, CScriptDoc&) {
      auto& page = std::get<pages::CINIPropDlg>(entryPage);
      page.section = platform::utf8ToCp1252(options->section);
      page.entry = platform::utf8ToCp1252(options->entry);
      page.value = platform::utf8ToCp1252(options->value.value_or(""));
      return OptionChecks()
          .require("--section", options->section)
          .require("--entry", options->entry)
          .refusal();
    };
    return addEntryThroughPage(context, *options, category::WinIni, fill);
  };
}

}  // namespace vandrel::builder::cli
