// Fuzz target: the shortcut (.lnk) decoder, and re-encoding what it decoded.
#include <cstdio>
#include <string>

#include "fuzz/fuzz_target.h"
#include "platform/formats/shell_link.h"

using vandrel::platform::Bytes;
using vandrel::platform::ShellLink;

namespace {

bool printableAscii(const std::string& text) {
  for (char c : text) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

void print(const char* what, const ShellLink& link) {
  std::fprintf(stderr, "%s: target [%s] arguments [%s] folder [%s] description [%s] icon [%s],%d show %d\n",
               what, link.target.c_str(), link.arguments.c_str(), link.workingDirectory.c_str(),
               link.description.c_str(), link.iconLocation.c_str(), link.iconIndex,
               link.showCommand);
}

// Show commands other than 1 (normal), 3 (maximised) and 7 (minimised) mean normal; the
// writer stores them as 1, the reader hands on whatever the file holds.
int shownAs(int showCommand) {
  return showCommand == 3 || showCommand == 7 ? showCommand : 1;
}

bool sameLink(const ShellLink& a, const ShellLink& b) {
  return a.target == b.target && a.arguments == b.arguments &&
         a.workingDirectory == b.workingDirectory && a.description == b.description &&
         a.iconLocation == b.iconLocation && a.iconIndex == b.iconIndex &&
         shownAs(a.showCommand) == shownAs(b.showCommand);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > vandrel::fuzz::kMaxInput) return 0;
  std::optional<ShellLink> link = vandrel::platform::decodeShellLink(Bytes(data, data + size));
  if (!link) return 0;

  // A decoded shortcut written again reads back the same. Only plain text is compared:
  // other bytes go through code-page conversions that need not be one to one.
  bool plain = printableAscii(link->target) && printableAscii(link->arguments) &&
               printableAscii(link->workingDirectory) && printableAscii(link->description) &&
               printableAscii(link->iconLocation) && !link->target.empty();
  if (!plain) return 0;
  std::optional<ShellLink> again = vandrel::platform::decodeShellLink(
      vandrel::platform::encodeShellLink(*link));
  FUZZ_CHECK(again.has_value());
  if (!sameLink(*link, *again)) {
    print("decoded", *link);
    print("written and decoded again", *again);
    FUZZ_CHECK(sameLink(*link, *again));
  }
  (void)vandrel::platform::relativeLinkPath(link->workingDirectory, link->target);
  return 0;
}
