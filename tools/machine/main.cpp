// vandrel-machine: makes an emulated Windows machine and looks into it.
#include <CLI/CLI.hpp>

#include <cstdlib>
#include <functional>
#include <iostream>

#include "platform/emulated/machine_root.h"
#include "platform/exit_statuses.h"
#include "platform/program_start.h"
#include "tools/machine/machine_commands.h"

using namespace vandrel;

namespace {

constexpr int kUsageError = 2;

// Positional arguments of one subcommand, filled by CLI11.
struct Arguments {
  std::string root, file, section, key, winPath, commandLine, name, regKey;
  std::optional<std::string> value;
  std::string preset = "win98", user = "user";
  std::size_t size = 260;
  int def = 0;
};

void addIniCommands(CLI::App& app, Arguments& a, std::function<int()>& action) {
  auto* ini = app.add_subcommand("ini", "profile (INI) functions on a file of the machine");
  ini->require_subcommand(1);
  auto* get = ini->add_subcommand("get", "GetPrivateProfileStringA");
  get->add_option("ROOT", a.root)->required();
  get->add_option("FILE", a.file)->required();
  get->add_option("SECTION", a.section)->required();
  get->add_option("KEY", a.key)->required();
  get->add_option("DEFAULT", a.value);
  get->add_option("--size", a.size, "buffer size (260)")->check(CLI::NonNegativeNumber);
  get->callback([&] { action = [&] { return tools::iniGetCommand(a.root, a.file, a.section, a.key, a.value, a.size); }; });
  auto* getInt = ini->add_subcommand("int", "GetPrivateProfileIntA");
  getInt->add_option("ROOT", a.root)->required();
  getInt->add_option("FILE", a.file)->required();
  getInt->add_option("SECTION", a.section)->required();
  getInt->add_option("KEY", a.key)->required();
  getInt->add_option("DEFAULT", a.def)->required();
  getInt->callback([&] { action = [&] { return tools::iniIntCommand(a.root, a.file, a.section, a.key, a.def); }; });
  auto* set = ini->add_subcommand("set", "WritePrivateProfileStringA; without VALUE the key is deleted");
  set->add_option("ROOT", a.root)->required();
  set->add_option("FILE", a.file)->required();
  set->add_option("SECTION", a.section)->required();
  set->add_option("KEY", a.key)->required();
  set->add_option("VALUE", a.value);
  set->callback([&] { action = [&] { return tools::iniSetCommand(a.root, a.file, a.section, a.key, a.value); }; });
  auto* del = ini->add_subcommand("delete", "deletes a section");
  del->add_option("ROOT", a.root)->required();
  del->add_option("FILE", a.file)->required();
  del->add_option("SECTION", a.section)->required();
  del->callback([&] { action = [&] { return tools::iniDeleteCommand(a.root, a.file, a.section); }; });
}

void addRegCommands(CLI::App& app, Arguments& a, std::function<int()>& action) {
  auto* reg = app.add_subcommand("reg", "the registry as REGEDIT4 text");
  reg->require_subcommand(1);
  auto* exp = reg->add_subcommand("export", "writes REGEDIT4 text of KEY (all keys without it)");
  exp->add_option("ROOT", a.root)->required();
  exp->add_option("KEY", a.regKey);
  exp->callback([&] { action = [&] { return tools::regExportCommand(a.root, a.regKey); }; });
  auto* imp = reg->add_subcommand("import", "applies a REGEDIT4 file");
  imp->add_option("ROOT", a.root)->required();
  imp->add_option("FILE", a.file)->required();
  imp->callback([&] { action = [&] { return tools::regImportCommand(a.root, a.file); }; });
}

void addMachineCommands(CLI::App& app, Arguments& a, std::function<int()>& action) {
  auto* init = app.add_subcommand("init", "makes a machine root");
  init->add_option("ROOT", a.root)->required();
  init->add_option("--preset", a.preset, "win98 (default), win95, nt4 or win2000")
      ->check(CLI::IsMember({"win95", "win98", "nt4", "win2000"}, CLI::ignore_case));
  init->add_option("--user", a.user, "the user name (user)");
  init->callback([&] {
    action = [&] { return tools::initCommand(a.root, *platform::emulated::parsePreset(a.preset), a.user); };
  });
  auto* path = app.add_subcommand("path", "the host path behind a Windows path");
  path->add_option("ROOT", a.root)->required();
  path->add_option("WINPATH", a.winPath)->required();
  path->callback([&] { action = [&] { return tools::pathCommand(a.root, a.winPath); }; });
  auto* version = app.add_subcommand("version", "version information of a file");
  version->add_option("ROOT", a.root)->required();
  version->add_option("WINPATH", a.winPath)->required();
  version->callback([&] { action = [&] { return tools::versionCommand(a.root, a.winPath); }; });
  auto* run = app.add_subcommand("run", "starts a program as WinExec would and waits for it");
  run->add_option("ROOT", a.root)->required();
  run->add_option("COMMAND", a.commandLine)->required();
  run->callback([&] { action = [&] { return tools::runCommand(a.root, a.commandLine); }; });
  auto* programs = app.add_subcommand("programs", "the installed programs");
  programs->add_option("ROOT", a.root)->required();
  programs->callback([&] { action = [&] { return tools::programsCommand(a.root); }; });
  auto* uninstall = app.add_subcommand("uninstall", "runs the UninstallString of an installed program");
  uninstall->add_option("ROOT", a.root)->required();
  uninstall->add_option("NAME", a.name)->required();
  uninstall->callback([&] { action = [&] { return tools::uninstallCommand(a.root, a.name); }; });
  auto* boot = app.add_subcommand("boot", "a restart: runs RunOnce, then Run programs");
  boot->add_option("ROOT", a.root)->required();
  boot->callback([&] { action = [&] { return tools::bootCommand(a.root); }; });
}

}  // namespace

int main(int argc, char** argv) {
  platform::makeEnvironmentPathsAbsolute();
  CLI::App app{"Makes an emulated Windows machine and looks into it.", "vandrel-machine"};
  app.require_subcommand(1);
  app.footer(platform::exitStatusHelp("vandrel-machine") +
             "With VANDREL_PLAN=1 nothing is changed: run, uninstall and boot start only\n"
             "this system's own programs (as plans) and print \"would run: <command>\"\n"
             "for any other.\n" +
             platform::engineExitHelp() + platform::environmentHelp());
  app.set_version_flag("--version", "vandrel-machine " VANDREL_VERSION);
  Arguments arguments;
  std::function<int()> action;
  addMachineCommands(app, arguments, action);
  addRegCommands(app, arguments, action);
  addIniCommands(app, arguments, action);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help, --version
    tools::reportError(e.what());
    return kUsageError;
  }
  if (platform::planSetting() == platform::PlanSetting::Invalid) {
    // Rather than change a machine its user meant only to look at.
    tools::reportError(std::string("VANDREL_PLAN must be 1 (a plan: nothing is changed) or 0, not \"") +
                       std::getenv("VANDREL_PLAN") + "\"");
    return 1;
  }
  try {
    return action ? action() : kUsageError;
  } catch (const std::exception& e) {
    tools::reportError(e.what());
    return 1;
  }
}
