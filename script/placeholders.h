// Expansion of the placeholders [u] [c] [s] [d] and [n] (directory numbers) in script values.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vandrel::script {

struct PlaceholderContext {
  std::string userName;
  std::string company;
  std::string serial;
  std::string installDate;  // "%Y/%m/%d"
  // The path of directory number n ([Directories] key n, default "1000", resolved).
  std::function<std::string(long number)> directoryPath;
};

std::string expandPlaceholders(std::string_view text, const PlaceholderContext& context);

}  // namespace vandrel::script
