// System requirements check of the setup engine.
#include "setup/requirements/requirements.h"

#include <cctype>
#include <cstdint>

#include "platform/text/text_rules.h"
#include "script/list_item.h"
#include "setup/strings/string_ids.h"

namespace vandrel::setup {

using script::Section;
namespace {

struct RunningPlatform {
  int code = 0;          // the platform code kept in the state
  int versionIndex = 0;  // position in the version-name list
};

RunningPlatform runningPlatform(std::uint32_t platformId) {
  switch (platformId) {
    case platform::platform_id::Win32s: return {1, 3};
    case platform::platform_id::Windows: return {3, 4};
    case platform::platform_id::NT: return {2, 5};
    default: return {0, 0};
  }
}

}  // namespace

int requiredVersionIndex(const std::string& versionNames, const std::string& minWin) {
  int index = 0;
  for (int k = 1; k <= 5; ++k) {
    if (text::equalsNoCase(script::listItem(versionNames, k, ""), minWin)) index = k;
  }
  return index;
}

int checkRequirements(const script::ScriptReader& script, platform::System& system,
                      SetupDialogs& dialogs, SetupState& state) {
  const script::StringTable& strings = dialogs.strings();
  if (script.entryCount(Section::Directories) == 0) {
    state.failureCause = "the script " + script.path() + " lists no [Directories] entries";
    return status::Incomplete;
  }

  platform::OsVersion version = system.version();
  platform::ProcessorInfo processor = system.processor();
  long minCpu = script.number(Section::Settings, script::key::MinCpu, "386");
  auto nCompil =
      static_cast<std::uint32_t>(script.number(Section::Settings, script::key::NCompil, "0"));
  std::string minWin = script.value(Section::Settings, script::key::MinWin, "3.1");

  bool intel = processor.architecture == 0;
  if (!intel && dialogs.ask(strings.get(sid::NotIntelQuestion)) != ui::Answer::Yes) {
    return status::NotIntel;
  }

  RunningPlatform running = runningPlatform(version.platformId);
  state.platform = running.code;
  if (running.code == 0) {
    dialogs.tell(strings.get(sid::UnknownSystem), ui::Icon::Stop);
    return status::Fatal;
  }
  if (running.code == 1) {
    dialogs.tell(strings.get(sid::Win32sRefused), ui::Icon::Stop);
    return status::Fatal;
  }

  int result = 0;
  if (running.versionIndex < requiredVersionIndex(strings.get(sid::VersionNames), minWin)) {
    result = status::WindowsTooOld;
  }
  if (intel && ((minCpu == 586 && processor.processorType < 586) ||
                (minCpu == 486 && processor.processorType < 486))) {
    result = status::CpuTooOld;
  }

  if (result == status::WindowsTooOld &&
      dialogs.ask(strings.format(sid::WindowsVersionQuestion, minWin)) == ui::Answer::Yes) {
    result = 0;
  } else if (result == status::CpuTooOld &&
             dialogs.ask(strings.format(sid::CpuQuestion, std::to_string(minCpu))) ==
                 ui::Answer::Yes) {
    result = 0;
  }

  if (nCompil != 0 && result == 0 && nCompil < version.buildNumber &&
      dialogs.ask(strings.format(sid::BuildQuestion, std::to_string(nCompil))) != ui::Answer::Yes) {
    return status::WindowsTooOld;
  }
  return result;
}

}  // namespace vandrel::setup
