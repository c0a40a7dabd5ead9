// Texts of the install phase: the engine's string table first, the built-in English table after.
#include "setup/common/setup_texts.h"

#include "script/string_table.h"

namespace vandrel::setup {
namespace {

const script::StringTable& builtinTexts() {
  static const script::StringTable table{
#include "setup/strings/copy_strings_en.inc"
  };
  return table;
}

}  // namespace

std::string copyText(const script::StringTable& strings, unsigned id) {
  if (strings.has(id)) return strings.get(id);
  return builtinTexts().get(id);
}

std::string copyText(const script::StringTable& strings, unsigned id,
                     const std::string& arg1) {
  return script::formatMessage(copyText(strings, id), arg1);
}

}  // namespace vandrel::setup
