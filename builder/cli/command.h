// What every corvix subcommand gets: the interaction port, the machine for path mapping, the
// output streams; and the shape of a subcommand definition.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "builder/cli/command_line.h"
#include "builder/codec/build_variables.h"
#include "builder/codec/load_diagnostic.h"
#include "builder/model/script_doc.h"
#include "platform/machine.h"
#include "ui/interaction.h"

namespace vandrel::builder::cli {

namespace exit_status {
constexpr int Done = 0;
constexpr int Failed = 1;  // also a cancelled command
constexpr int Usage = 2;
}  // namespace exit_status

class CommandContext {
 public:
  CommandContext(std::ostream& out, std::ostream& err);
  ~CommandContext();

  std::ostream& out;
  std::ostream& err;

  // The interaction port chosen by the environment (VANDREL_UI, VANDREL_ANSWERS, ...).
  ui::Interaction& ui();
  // The machine of VANDREL_MACHINE, with Z: writable; nullptr (after a message on err) when
  // it cannot be opened.
  platform::Machine* machine();

  // The Windows form of a host path ("Z:\home\ann\a.exe"), as documents hold paths; nullopt
  // when no machine is available or the path cannot be mapped.
  std::optional<std::string> windowsPath(const std::filesystem::path& host);

  // The user name the machine reports (GetUserNameA); nullopt when it cannot be read.
  std::optional<std::string> userName();

 private:
  std::unique_ptr<ui::Interaction> ui_;
  std::unique_ptr<platform::Machine> machine_;
  bool machineTried_ = false;
};

// A subcommand's action, built by its definition once the options are declared.
using CommandRun = std::function<int(CommandContext&)>;
// A definition declares the subcommand's options and arguments on sub.
using CommandDefinition = CommandRun (*)(CommandLine& sub);

struct CommandSpec {
  const char* name;
  const char* description;
  CommandDefinition define;
};

// Every subcommand, in the order of the usage text (command_table.cpp).
const std::vector<CommandSpec>& commandTable();

// An error line on err: "corvix: <text>".
int fail(CommandContext& context, const std::string& text);
// The same line for a refused argument: the usage status.
int usageError(CommandContext& context, const std::string& text);
// What loading a document could not read as written, on err: "corvix: FILE:LINE: error: ...".
void reportLoad(CommandContext& context, const LoadDiagnostics& diagnostics);

// Applies KEY=VALUE settings (values in UTF-8) to doc in order; empty on success, else what was refused (by
// name). The modified flag is left to the caller.
std::string applySettings(CScriptDoc& doc, const std::vector<std::string>& assignments);

// Takes out of --set's KEY=VALUE pairs those whose key names no setting but can name a build
// variable, as that variable's value (typed in UTF-8, returned in the code page); the settings,
// and what is no KEY=VALUE at all, stay for applySettings to apply or refuse.
BuildValues takeBuildValues(std::vector<std::string>& assignments);

}  // namespace vandrel::builder::cli
