// Enumeration of the numbered keys of a script section.
#include "setup/common/script_keys.h"

#include "platform/text/text_rules.h"

namespace vandrel::setup {
namespace {

// Room for the key names of any section a script can sensibly hold; names beyond are cut,
// as the profile function cuts a list that does not fit its buffer.
constexpr std::size_t kKeyListBuffer = 1u << 22;

}  // namespace

std::vector<long> numberedKeys(platform::Profile& profile, const std::string& file,
                               const std::string& section, long first, long last) {
  if (last < first) return {};
  std::string list = profile.getString(file, section, std::nullopt, "", kKeyListBuffer);
  std::vector<long> keys;
  for (long long number : text::entryNumbers(list, first, last)) keys.push_back(long(number));
  return keys;
}

}  // namespace vandrel::setup
