// Fuzz target: the rules that read the values of Script.vrx (comma lists, leading-digits
// numbers, flags, placeholders), one input line per value.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/fuzz_target.h"
#include "script/list_item.h"
#include "script/placeholders.h"

namespace script = vandrel::script;

namespace {

void checkValue(std::string_view value) {
  // The leading-digits reading is the C library's base-10 reading, clamping included.
  std::string text(value.substr(0, value.find('\0')));
  errno = 0;
  long expected = std::strtol(text.c_str(), nullptr, 10);
  FUZZ_CHECK(script::readInt(value) == expected);

  // The items of a list, joined with commas again, give the list back. An item is missing
  // when two different defaults both come back.
  if (!value.empty()) {
    auto present = [&](int k) {
      return script::listItem(value, k, "a") != "a" || script::listItem(value, k, "b") != "b";
    };
    std::string joined = script::listItem(value, 1, "");
    int k = 2;
    for (; present(k); ++k) joined += "," + script::listItem(value, k, "");
    FUZZ_CHECK(joined == value);
    FUZZ_CHECK(std::size_t(k - 1) == 1 + std::size_t(std::count(value.begin(), value.end(), ',')));
  }
  FUZZ_CHECK(script::listItem(value, 0, "d") == "d");
  (void)script::readFlag(value);

  script::PlaceholderContext context{"Ann", "Co", "123", "2024/01/02",
                                     [](long n) { return "C:\\D" + std::to_string(n); }};
  std::string expanded = script::expandPlaceholders(value, context);
  // Text without an opening bracket has nothing to expand.
  if (value.find('[') == std::string_view::npos) FUZZ_CHECK(expanded == value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > vandrel::fuzz::kMaxInput) return 0;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    checkValue(text.substr(start, end - start));
    start = end + 1;
  }
  return 0;
}
