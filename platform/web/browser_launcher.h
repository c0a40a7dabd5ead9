// Finding the user's web browser, starting it with an address, and writing Internet
// shortcuts (.url files) into the Favorites folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/machine.h"

namespace vandrel::platform {

// The document types whose open command names the browser, tried in this order.
inline constexpr const char* kBrowserDocumentTypes =
    "htmlfile,htmfile,ftp,http,url,htm,html,InternetShortcut";

// Where the Favorites folder is recorded below HKEY_CURRENT_USER: "key path,value name".
std::vector<std::string> defaultFavoritesLocations();

class BrowserLauncher {
 public:
  explicit BrowserLauncher(Machine& machine,
                           std::vector<std::string> favoritesLocations = defaultFavoritesLocations());

  // Looks for the browser's command: the open command of each document type in the
  // registry, then the types' entries in win.ini [Extensions]. maximised 1 starts the
  // browser maximised. True when a command was found.
  bool FindBrowser(const std::optional<std::string>& types, int maximised);
  bool IsBrowserFound() const { return found_; }
  const std::string& command() const { return command_; }

  // Starts the browser with the address ("%1" replaced by it, or the address appended).
  bool OpenInBrowser(const std::string& address);
  // Writes name + ".url" into the Favorites folder, pointing at the address.
  bool AddFavorite(const std::string& address, const std::string& name);

  // The Favorites folder as the registry records it; empty when none is.
  std::string favoritesFolder();

 private:
  std::optional<std::string> registryCommand(const std::string& type);
  std::optional<std::string> profileCommand(const std::string& type);

  Machine& machine_;
  std::vector<std::string> favoritesLocations_;
  std::string command_;
  bool found_ = false;
  int maximised_ = 0;
};

}  // namespace vandrel::platform
