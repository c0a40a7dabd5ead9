// Fuzz target: the answers file of unattended runs.
#include <string>
#include <string_view>

#include "fuzz/fuzz_target.h"
#include "ui/answers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > vandrel::fuzz::kMaxInput) return 0;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  vandrel::ui::Answers answers = vandrel::ui::Answers::fromText(text);
  for (int n : {-1, 0, 1, 2, 3, 10, 2147483647}) {
    (void)answers.question(n);
    (void)answers.folder(n);
    (void)answers.choice(n);
  }
  for (std::string_view key : {"Licence", "Name", "Company", "Serial", "Folder", "", " "}) {
    (void)answers.wizard(key);
  }
  (void)answers.progressCancelOn();
  return 0;
}
