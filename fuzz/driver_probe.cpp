// A target for the driver's own tests: fails on inputs holding "!", aborts on "boom" and
// never returns on "hang".
#include <unistd.h>

#include <cstring>
#include <string_view>

#include "fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  if (input == "hang") {
    for (;;) pause();
  }
  FUZZ_CHECK(input.substr(0, 4) != "boom");
  FUZZ_CHECK(input.find('!') == std::string_view::npos);
  return 0;
}
