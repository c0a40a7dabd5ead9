// The version block queries shared by the version fuzz targets.
#include "fuzz/version_queries.h"

#include <cstring>
#include <string>

#include "fuzz/fuzz_target.h"
#include "platform/formats/version_resource.h"

namespace vandrel::fuzz {

using platform::FixedFileInfo;

void queryVersionBlock(const platform::Bytes& block) {
  std::optional<platform::VersionValue> root = platform::verQueryValue(block, "\\");
  std::optional<FixedFileInfo> fixed = platform::queryFixedFileInfo(block);
  if (fixed) {
    // The structure is read from the bytes "\" gives.
    FUZZ_CHECK(root.has_value());
    FUZZ_CHECK(root->data.size() >= FixedFileInfo::Size);
    std::uint32_t signature = 0;
    std::memcpy(&signature, root->data.data(), 4);
    FUZZ_CHECK(signature == fixed->signature);
    (void)fixed->fileVersion();
    (void)fixed->fileDate();
  }

  std::vector<platform::Translation> translations = platform::queryTranslations(block);
  std::size_t tried = 0;
  for (const platform::Translation& translation : translations) {
    if (++tried > 8) break;
    std::string table = "\\StringFileInfo\\" + translation.blockName() + "\\";
    FUZZ_CHECK(translation.blockName().size() == 8);
    for (const char* name : {"FileVersion", "ProductVersion", "CompanyName", "FileDescription",
                             "fileversion", ""}) {
      std::optional<std::string> text = platform::queryString(block, table + name);
      std::optional<platform::VersionValue> raw = platform::verQueryValue(block, table + name);
      if (text) {
        FUZZ_CHECK(raw.has_value());
        FUZZ_CHECK(raw->isText);
      }
    }
  }
  for (const char* path : {"", "\\\\", "\\VarFileInfo", "\\VarFileInfo\\Translation\\",
                           "\\StringFileInfo", "\\StringFileInfo\\040904b0",
                           "\\StringFileInfo\\040904B0\\FileVersion", "VarFileInfo\\Translation",
                           "\\\\StringFileInfo\\\\\\"}) {
    std::optional<platform::VersionValue> value = platform::verQueryValue(block, path);
    if (value) (void)value->text();
  }
}

}  // namespace vandrel::fuzz
