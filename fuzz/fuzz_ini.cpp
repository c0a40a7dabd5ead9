// Fuzz target: INI text parsed, looked up, edited and written back.
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "platform/ini/ini_document.h"

using vandrel::platform::IniDocument;

namespace {

// Listing and lookup agree: every listed section is found, every listed key has a value.
void checkLookups(const IniDocument& doc) {
  std::vector<std::string> sections = doc.sectionNames();
  for (std::size_t i = 0; i < sections.size() && i < 32; ++i) {
    const std::string& section = sections[i];
    if (section.find_first_not_of(" \t\r\v\f") == std::string::npos) continue;
    FUZZ_CHECK(doc.hasSection(section));
    std::vector<std::string> keys = doc.keyNames(section);
    for (std::size_t k = 0; k < keys.size() && k < 32; ++k) {
      if (keys[k].empty()) continue;
      FUZZ_CHECK(doc.value(section, keys[k]).has_value());
    }
  }
}

// An edit is seen by lookups at once and survives writing the text and reading it again.
void checkEdits(IniDocument doc, const std::vector<std::string>& sections, std::size_t pick) {
  std::string section = "FuzzSection";
  for (const std::string& name : sections) {
    if (pick-- == 0 && name.find_first_not_of(" \t\r\v\f") != std::string::npos) section = name;
  }
  std::vector<std::string> keys = doc.keyNames(section);
  std::string key = keys.empty() || keys.front().empty() ? "FuzzKey" : keys.front();
  const std::string value = "edited value 42";

  doc.set(section, key, value);
  FUZZ_CHECK(doc.value(section, key) == value);
  IniDocument reread = IniDocument::parse(doc.text());
  FUZZ_CHECK(reread.value(section, key) == value);

  doc.removeSection(section);
  FUZZ_CHECK(!doc.hasSection(section));
  FUZZ_CHECK(!IniDocument::parse(doc.text()).hasSection(section));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > vandrel::fuzz::kMaxInput) return 0;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  IniDocument doc = IniDocument::parse(text);
  checkLookups(doc);

  // The written text reads back as the same document.
  std::string written = doc.text();
  IniDocument reread = IniDocument::parse(written);
  FUZZ_CHECK(reread.text() == written);
  FUZZ_CHECK(reread.sectionNames() == doc.sectionNames());

  // Lookups of names made from the input itself, whatever they hold.
  std::string_view half = text.substr(0, size / 2);
  (void)doc.value(half, text.substr(size / 2));
  (void)doc.keyNames(half);

  checkEdits(doc, doc.sectionNames(), size % 5);
  return 0;
}
