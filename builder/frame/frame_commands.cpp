// The builder's commands by their names in answers files.
#include "builder/frame/frame_commands.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <utility>

#include "builder/tree/tree_commands.h"
#include "platform/ini/ini_document.h"

namespace vandrel::builder::frame {

int commandByName(const std::string& name) {
  namespace b = builder::command;
  static const std::pair<const char*, int> kNames[] = {
      {"new", command::FileNew},
      {"save", command::FileSave},
      {"close", command::FileClose},
      {"undo", command::Undo},
      {"redo", command::Redo},
      {"preferences", command::Preferences},
      {"about", command::About},
      {"tip", command::TipOfTheDay},
      {"version", command::VersionInfo},
      {"cascade", command::WindowCascade},
      {"tile", command::WindowTile},
      {"settings", b::GeneralSettings},
      {"background", b::BackgroundSettings},
      {"end", b::EndSettings},
      {"erase", b::Erase},
      {"properties", b::Properties},
      {"generate", b::Generate},
      {"script", b::GenerateScript},
      {"test", b::TestInstall},
      {"check", b::CheckIntegrity},
      {"check-files", b::CheckFiles},
      {"summary", b::Summary},
      {"small-icons", b::SmallIcons},
      {"assistant1", b::FirstAssistant},
      {"assistant2", b::FirstAssistant + 1},
      {"assistant3", b::FirstAssistant + 2},
      {"assistant4", b::FirstAssistant + 3},
      {"assistant5", b::LastAssistant},
  };
  for (const auto& [text, id] : kNames) {
    if (name == text) return id;
  }
  // The "New" commands go by their entry kind's name: "directory", "winini", ...
  if (const EntryKind* kind = entryKindNamed(name)) return kind->addCommand;
  return 0;
}

std::vector<std::string> answeredCommands(const std::string& answersFile) {
  std::ifstream in(answersFile, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  platform::IniDocument ini = platform::IniDocument::parse(text.str());
  std::vector<std::string> commands;
  std::string list = ini.value("Builder", "Commands").value_or("");
  std::stringstream items(list);
  for (std::string item; std::getline(items, item, ',');) {
    std::size_t first = item.find_first_not_of(" \t");
    std::size_t last = item.find_last_not_of(" \t\r");
    if (first != std::string::npos) commands.push_back(item.substr(first, last - first + 1));
  }
  return commands;
}

bool runAnswered(const std::vector<std::string>& commands, const std::function<void(const std::string&)>& shot,
                 const std::function<void(int)>& run) {
  bool known = true;
  for (const std::string& name : commands) {
    if (name.rfind("shot:", 0) == 0) {
      shot(name.substr(5));
      continue;
    }
    int command = commandByName(name);
    if (command == 0) {
      std::fprintf(stderr, "corvix: the answers file names an unknown command: %s\n", name.c_str());
      known = false;
      continue;
    }
    run(command);
  }
  return known;
}

}  // namespace vandrel::builder::frame
