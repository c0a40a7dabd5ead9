// Texts of the copy steps: the engine's string table first, the built-in English table after.
#include "setup/copy/copy_texts.h"

#include "script/string_table.h"
#include "setup/setup_app.h"

namespace vandrel::setup {
namespace {

const script::StringTable& builtinTexts() {
  static const script::StringTable table{
#include "setup/strings/copy_strings_en.inc"
  };
  return table;
}

}  // namespace

std::string copyText(const SetupApp& app, unsigned id) {
  if (app.strings().has(id)) return app.strings().get(id);
  return builtinTexts().get(id);
}

std::string copyText(const SetupApp& app, unsigned id, const std::string& arg1) {
  return script::formatMessage(copyText(app, id), arg1);
}

}  // namespace vandrel::setup
