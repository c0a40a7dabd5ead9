// corvix add-registry DOC --root ROOT --key SUBKEY --value VALUE [--entry NAME]
// [--erase-whole-key]: a registry value, checked as the registry page checks it.
#include "builder/cli/command_entries.h"
#include "builder/pages/page_common.h"
#include "builder/strings/builder_strings.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

namespace {

struct RegistryOptions : EntryTarget {
  std::string root, subkey, value;
  std::optional<std::string> entry;
  bool eraseWholeKey = false;
};

// The four main keys in their stored order, "HKEY_CLASSES_ROOT, ..." for messages.
std::string rootNames() {
  std::string names;
  for (const std::string& name : pages::stringItems(sid::RegistryRootNames, 4))
    names += (names.empty() ? "" : ", ") + name;
  return names;
}

// A main key typed by name (any case) or by its number 0..3, as the page's drop-down holds it.
std::string mainKeyOf(const std::string& typed, std::string& error) {
  std::vector<std::string> names = pages::stringItems(sid::RegistryRootNames, 4);
  if (typed.size() == 1 && typed[0] >= '0' && typed[0] <= '3') return names[typed[0] - '0'];
  if (pages::CRegPropDlg::rootOf(typed) < 0) {
    error = "--root: \"" + typed + "\" is out of range (0 to 3, or one of " + rootNames() + ")";
  }
  return typed;
}

}  // namespace

CommandRun defineAddRegistry(CommandLine& sub) {
  auto options = std::make_shared<RegistryOptions>();
  declareDocument(sub, *options, "the document that receives the entry");
  sub.requiredOption("--root", options->root,
                     "the main key: HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, "
                     "HKEY_USERS (any case), or its number 0 to 3");
  sub.requiredOption("--key", options->subkey, "the subkey below the main key");
  sub.option("--entry", options->entry, "the value's name (default: the key's default value)");
  sub.requiredOption("--value", options->value, "the value's text");
  sub.flag("--erase-whole-key", options->eraseWholeKey,
           "the uninstaller removes the whole subkey, not this value only");
  declareNoSave(sub, *options);
  return [options](CommandContext& context) {
    PageFill fill = [options](pages::EntryPage& entryPage, CScriptDoc&) {
      auto& page = std::get<pages::CRegPropDlg>(entryPage);
      std::string error;
      page.mainKey = mainKeyOf(options->root, error);
      OptionChecks checks;
      checks.then([&] { return error; })
          .require("--key", options->subkey)
          .require("--value", options->value);
      page.subkey = platform::utf8ToCp1252(options->subkey);
      page.entry = platform::utf8ToCp1252(options->entry.value_or(""));
      page.value = platform::utf8ToCp1252(options->value);
      page.eraseWholeKey = options->eraseWholeKey;
      return checks.refusal();
    };
    return addEntryThroughPage(context, *options, category::Registry, fill);
  };
}

}  // namespace vandrel::builder::cli
