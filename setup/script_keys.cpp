// Enumeration of the numbered keys of a script section.
#include "setup/script_keys.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace vandrel::setup {
namespace {

// Room for the key names of any section a script can sensibly hold; names beyond are cut,
// as the profile function cuts a list that does not fit its buffer.
constexpr std::size_t kKeyListBuffer = 1u << 22;

std::optional<long> plainNumber(const std::string& name) {
  std::size_t begin = name.find_first_not_of(" \t");
  std::size_t end = name.find_last_not_of(" \t");
  if (begin == std::string::npos) return std::nullopt;
  std::string digits = name.substr(begin, end - begin + 1);
  if (digits.size() > 18) return std::nullopt;
  if (digits.size() > 1 && digits[0] == '0') return std::nullopt;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
  }
  return std::stol(digits);
}

}  // namespace

std::vector<long> numberedKeys(platform::Profile& profile, const std::string& file,
                               const std::string& section, long first, long last) {
  std::vector<long> keys;
  if (last < first) return keys;
  std::string list = profile.getString(file, section, std::nullopt, "", kKeyListBuffer);
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find('\0', start);
    if (end == std::string::npos) end = list.size();
    std::optional<long> number = plainNumber(list.substr(start, end - start));
    if (number && *number >= first && *number <= last) keys.push_back(*number);
    start = end + 1;
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

}  // namespace vandrel::setup
