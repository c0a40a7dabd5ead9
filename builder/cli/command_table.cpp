// The table of corvix subcommands, built from command_list.h.
#include "builder/cli/command.h"

namespace vandrel::builder::cli {

#define CORVIX_COMMAND(id, name, description) CommandRun define##id(CommandLine& sub);
#include "builder/cli/command_list.h"
#undef CORVIX_COMMAND

const std::vector<CommandSpec>& commandTable() {
  static const std::vector<CommandSpec> table{
#define CORVIX_COMMAND(id, name, description) {name, description, &define##id},
#include "builder/cli/command_list.h"
#undef CORVIX_COMMAND
  };
  return table;
}

}  // namespace vandrel::builder::cli
