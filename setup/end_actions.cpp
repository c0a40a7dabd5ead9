// Internet shortcuts, the web site offer, the end commands and the restart question.
#include "setup/end_actions.h"

#include "script/schema.h"
#include "setup/strings/string_ids.h"

namespace vandrel::setup {

using script::Section;

std::string quoteEndCommand(const std::string& command) {
  std::size_t blank = command.find(' ');
  if (blank == std::string::npos) return command;
  std::string program = command.substr(0, blank + 1);
  std::string arguments = command.substr(blank + 1);
  if (arguments.find(' ') != std::string::npos) arguments = "\"" + arguments + "\"";
  return program + arguments;
}

void addWebFavorites(SetupApp& app, BrowserLauncher& browser) {
  for (long i = 0;; ++i) {
    std::string line = app.value(Section::Web, std::to_string(i), "");
    if (line.empty()) break;
    auto entry = script::readEntry<script::FavoriteEntry>(line);
    browser.AddFavorite(entry.address.text(""), entry.name.text(""));
  }
}

void offerStartUrl(SetupApp& app, BrowserLauncher& browser) {
  const script::StringTable& s = app.strings();
  std::string address = app.value(Section::Web, s.get(sid::StartUrlKey), "");
  if (address.empty() || !browser.IsBrowserFound()) return;
  if (app.ask(s.get(sid::AskOpenWebSite)) == ui::Answer::Yes) {
    browser.OpenInBrowser(address);
  } else if (app.ask(s.get(sid::AskAddFavorite)) == ui::Answer::Yes) {
    browser.AddFavorite(address, s.format(sid::WebSiteName, app.state().appName));
  }
}

void runEndCommands(SetupApp& app) {
  platform::Machine& machine = app.machine();
  for (long i = 0;; ++i) {
    std::string command = app.value(Section::End, std::to_string(i), "");
    if (command.empty()) break;
    machine.files().setCurrentDirectory(app.state().installFolder);
    machine.process().winExec(quoteEndCommand(app.expand(command)), platform::show::Show);
  }
}

void askReboot(SetupApp& app) {
  long reboot = app.script().number(Section::End, "Reboot", "0");
  if (reboot != 1 && reboot != 2) return;
  unsigned question = reboot == 1 ? sid::RebootComputer : sid::RebootWindows;
  if (app.ask(app.strings().get(question), ui::Icon::Exclamation) == ui::Answer::Yes) {
    app.machine().system().exitWindows(platform::exit_flags::Reboot);
  }
}

}  // namespace vandrel::setup
