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

void addWebFavorites(const script::ScriptReader& script, platform::BrowserLauncher& browser) {
  for (long i = 0;; ++i) {
    std::string line = script.value(Section::Web, std::to_string(i), "");
    if (line.empty()) break;
    auto entry = script::readEntry<script::FavoriteEntry>(line);
    browser.AddFavorite(entry.address.text(""), entry.name.text(""));
  }
}

void offerStartUrl(const script::ScriptReader& script, const std::string& appName,
                   SetupDialogs& dialogs, platform::BrowserLauncher& browser, platform::Process& process) {
  const script::StringTable& s = dialogs.strings();
  std::string address = script.value(Section::Web, script::key::StartURL, "");
  if (address.empty() || !browser.IsBrowserFound()) return;
  if (dialogs.ask(s.get(sid::AskOpenWebSite)) == ui::Answer::Yes) {
    // The browser command comes from the registry, which the package writes: it runs confined
    // like the package's own commands (platform/process.h).
    process.confineStartedPrograms("tamsin32");
    browser.OpenInBrowser(address);
    process.confineStartedPrograms("");
  } else if (dialogs.ask(s.get(sid::AskAddFavorite)) == ui::Answer::Yes) {
    browser.AddFavorite(address, s.format(sid::WebSiteName, appName));
  }
}

void runEndCommands(const script::ScriptReader& script, const SetupState& state,
                    platform::FileSystem& files, platform::Process& process, ui::ActionLog* log) {
  // The author's commands run confined to the machine (platform/process.h).
  process.confineStartedPrograms("tamsin32");
  for (long i = 0;; ++i) {
    std::string command = script.value(Section::End, std::to_string(i), "");
    if (command.empty()) break;
    files.setCurrentDirectory(state.installFolder);
    std::string line = quoteEndCommand(expandPlaceholders(script, state, command));
    unsigned result = process.winExec(line, platform::show::Show);
    // Values above 31 mean the program started; in a plan, that it was found and would start.
    if (log) {
      const char* started = result <= 31 ? "no" : log->plan() ? "planned" : "yes";
      log->action("command", {{"command", line}, {"started", started}});
    }
  }
  process.confineStartedPrograms("");
}

void askReboot(const script::ScriptReader& script, SetupDialogs& dialogs,
               platform::System& system) {
  long reboot = script.number(Section::End, script::key::Reboot, "0");
  if (reboot != 1 && reboot != 2) return;
  unsigned question = reboot == 1 ? sid::RebootComputer : sid::RebootWindows;
  if (dialogs.ask(dialogs.strings().get(question), ui::Icon::Exclamation) == ui::Answer::Yes) {
    system.exitWindows(platform::exit_flags::Reboot);
  }
}

}  // namespace vandrel::setup
