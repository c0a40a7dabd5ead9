// Finding the starter manifest's execution level and writing the package's in its place.
#include "builder/generate/starter_manifest.h"

#include <algorithm>
#include <string>

namespace vandrel::builder {
namespace {

// As the build writes it (cmake/windows/program.manifest.in, tools/starter/CMakeLists.txt):
// the attribute and the blanks after it are as long as the longest level's attribute.
constexpr std::string_view kAttribute = "level=\"";
constexpr std::string_view kPlaceholder = "<requestedExecutionLevel level=\"asInvoker\"           ";
constexpr std::size_t kMaxStarterSize = 64u << 20;

std::string attributeFor(ExecutionLevel level) {
  std::string attribute = std::string(kAttribute) + manifestLevel(level) + "\"";
  std::size_t room = kPlaceholder.size() - kPlaceholder.find(kAttribute);
  attribute.resize(room, ' ');
  return attribute;
}

}  // namespace

std::optional<ExecutionLevel> parseExecutionLevel(std::string_view word) {
  if (word == "admin") return ExecutionLevel::Administrator;
  if (word == "highest") return ExecutionLevel::HighestAvailable;
  if (word == "invoker") return ExecutionLevel::Invoker;
  return std::nullopt;
}

const char* manifestLevel(ExecutionLevel level) {
  switch (level) {
    case ExecutionLevel::Administrator: return "requireAdministrator";
    case ExecutionLevel::HighestAvailable: return "highestAvailable";
    case ExecutionLevel::Invoker: return "asInvoker";
  }
  return "asInvoker";
}

bool setStarterExecutionLevel(platform::FileSystem& files, const std::string& path,
                              ExecutionLevel level) {
  std::unique_ptr<platform::File> file = files.open(path, platform::OpenMode::ReadWrite);
  if (!file || file->size() > kMaxStarterSize) return false;
  std::string image(file->size(), '\0');
  if (file->read(image.data(), image.size()) != std::int64_t(image.size())) return false;
  std::size_t found = image.find(kPlaceholder);
  if (found == std::string::npos || image.find(kPlaceholder, found + 1) != std::string::npos) {
    return false;
  }
  std::size_t at = found + kPlaceholder.find(kAttribute);
  std::string attribute = attributeFor(level);
  return file->seek(at) &&
         file->write(attribute.data(), attribute.size()) == std::int64_t(attribute.size());
}

}  // namespace vandrel::builder
