// Browser detection and start, and Internet shortcuts in the Favorites folder.
#include "platform/web/browser_launcher.h"

#include <cctype>

#include "platform/text/text_rules.h"

namespace vandrel::platform {
namespace {

// The buffers the registry and profile reads use: longer values do not fit and are not read.
constexpr std::size_t kValueBuffer = 254;

// A string value of an open key read into a buffer of kValueBuffer bytes.
std::optional<std::string> readStringValue(Registry& registry, HKey key,
                                           const std::string& name) {
  std::uint32_t type = 0;
  Bytes data;
  if (registry.queryValue(key, name, type, data) != error::Success) return std::nullopt;
  if (data.size() > kValueBuffer) return std::nullopt;  // does not fit: the read fails
  if (type != regtype::Sz && type != regtype::ExpandSz) return std::nullopt;
  std::string text(data.begin(), data.end());
  std::size_t zero = text.find('\0');
  if (zero != std::string::npos) text.resize(zero);
  return text;
}

std::optional<std::string> readKeyValue(Registry& registry, HKey root,
                                        const std::string& path, const std::string& name) {
  HKey key = 0;
  if (registry.openKey(root, path, key) != error::Success) return std::nullopt;
  std::optional<std::string> text = readStringValue(registry, key, name);
  registry.closeKey(key);
  return text;
}

bool isPlaceholderAnswer(const std::string& text) { return text == "?"; }

}  // namespace

std::vector<std::string> defaultFavoritesLocations() {
  return {"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders,Favorites",
          "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders,Favorites",
          "Software\\Microsoft\\Windows NT\\CurrentVersion\\explorer\\User Shell Folders,Favorites"};
}

BrowserLauncher::BrowserLauncher(Machine& machine,
                                 std::vector<std::string> favoritesLocations)
    : machine_(machine), favoritesLocations_(std::move(favoritesLocations)) {}

std::optional<std::string> BrowserLauncher::registryCommand(const std::string& type) {
  std::optional<std::string> command = readKeyValue(
      machine_.registry(), hkey::ClassesRoot, type + "\\shell\\open\\command", "");
  // An empty open command names no program: it is not taken for a browser.
  if (command && command->empty()) return std::nullopt;
  return command;
}

std::optional<std::string> BrowserLauncher::profileCommand(const std::string& type) {
  std::string value = machine_.profile().getProfileString("Extensions", type, "?", kValueBuffer);
  if (isPlaceholderAnswer(value)) return std::nullopt;
  // Extension entries read "program ^.ext": the command is the text before the "^".
  std::size_t caret = value.find('^');
  if (caret != std::string::npos) value.resize(caret);
  if (value.find_first_not_of(' ') == std::string::npos) return std::nullopt;
  return value;
}

bool BrowserLauncher::FindBrowser(const std::optional<std::string>& types, int maximised) {
  maximised_ = maximised;
  std::string list = types ? *types : std::string(kBrowserDocumentTypes);
  found_ = false;
  command_.clear();
  for (int pass = 0; pass < 2 && !found_; ++pass) {
    for (int n = 1; !found_; ++n) {
      std::string type = text::listItem(list, n, "");
      if (type.empty()) break;
      std::optional<std::string> command = pass == 0 ? registryCommand(type) : profileCommand(type);
      if (command) {
        command_ = *command;
        found_ = true;
      }
    }
  }
  return found_;
}

bool BrowserLauncher::OpenInBrowser(const std::string& address) {
  if (!found_ || address.empty()) return false;
  std::string commandLine;
  if (command_.find("%1") != std::string::npos) {
    for (std::size_t i = 0; i < command_.size(); ++i) {
      if (command_.compare(i, 2, "%1") == 0) {
        commandLine += address;
        ++i;
      } else {
        commandLine += command_[i];
      }
    }
  } else {
    commandLine = command_ + address;
  }
  if (commandLine.empty()) return false;
  int show = maximised_ == 1 ? 3 : show::Show;
  return machine_.process().winExec(commandLine, show) > 31;
}

std::string BrowserLauncher::favoritesFolder() {
  for (const std::string& location : favoritesLocations_) {
    std::string path = text::listItem(location, 1, "");
    std::string name = text::listItem(location, 2, "");
    std::optional<std::string> folder =
        readKeyValue(machine_.registry(), hkey::CurrentUser, path, name);
    if (folder && !folder->empty()) return *folder;
  }
  return {};
}

bool BrowserLauncher::AddFavorite(const std::string& address, const std::string& name) {
  if (address.empty()) return false;
  std::string folder = favoritesFolder();
  if (folder.empty()) return false;
  if (folder.back() != '\\') folder += '\\';
  std::unique_ptr<File> file = machine_.files().create(folder + name + ".url");
  if (!file) return false;
  std::string text = "[InternetShortcut]\r\nURL=" + address + "\r\n";
  return file->write(text.data(), text.size()) == static_cast<std::int64_t>(text.size());
}

}  // namespace vandrel::platform
