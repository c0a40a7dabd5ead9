// The builder's commands by their names in answers files.
#include "builder/frame/frame_commands.h"

#include <utility>

#include "builder/tree/tree_commands.h"

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

}  // namespace vandrel::builder::frame
