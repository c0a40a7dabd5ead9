// corvix versions: the component files beside the builder, one row each.
#include "builder/cli/command.h"
#include "builder/generate/headless_session.h"
#include "builder/generate/summary.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

CommandRun defineVersions(CommandLine&) {
  return [](CommandContext& context) {
    platform::Machine* machine = context.machine();
    if (!machine) return exit_status::Failed;
    context.out << "File\tDescription\tDate Stamp\tSize (Kb)\n";
    for (const VersionRow& row : versionRows(machine->files(), programFolderOf(*machine))) {
      context.out << platform::cp1252ToUtf8(row.file + "\t" + row.description + "\t" +
                                            row.dateStamp + "\t")
                  << row.sizeKb << "\n";
    }
    context.out.flush();
    return exit_status::Done;
  };
}

}  // namespace vandrel::builder::cli
