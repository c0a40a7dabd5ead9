// Expansion of [u] [c] [s] [d] and directory-number placeholders in script values.
#include "script/placeholders.h"

#include "script/list_item.h"

namespace vandrel::script {
namespace {

bool isLetter(std::string_view name, char lower) {
  return name.size() == 1 && (name[0] == lower || name[0] == lower - 'a' + 'A');
}

std::string replacement(std::string_view name, const PlaceholderContext& context) {
  if (name.empty()) return {};
  if (name[0] >= '0' && name[0] <= '9') {
    return context.directoryPath ? context.directoryPath(readInt(name)) : std::string();
  }
  if (isLetter(name, 'u')) return context.userName;
  if (isLetter(name, 'c')) return context.company;
  if (isLetter(name, 's')) return context.serial;
  if (isLetter(name, 'd')) return context.installDate;
  return {};  // unknown names vanish
}

}  // namespace

std::string expandPlaceholders(std::string_view text, const PlaceholderContext& context) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    // "[]" is not a placeholder: both characters are copied as they stand.
    if (c != '[' || (i + 1 < text.size() && text[i + 1] == ']')) {
      out += c;
      ++i;
      continue;
    }
    // An unclosed placeholder runs to the end of the text and is treated as closed.
    std::size_t close = text.find(']', i + 1);
    std::size_t end = close == std::string_view::npos ? text.size() : close;
    out += replacement(text.substr(i + 1, end - i - 1), context);
    i = close == std::string_view::npos ? text.size() : close + 1;
  }
  return out;
}

}  // namespace vandrel::script
