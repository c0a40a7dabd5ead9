// What a machine holds, read from its root and through the machine tool.
#include "tests/support/machine_state.h"

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace vandrel::test {

std::map<std::string, std::string> machineState(const fs::path& root) {
  std::map<std::string, std::string> state;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string name = fs::relative(entry.path(), root).string();
    if (name.ends_with("-wal") || name.ends_with("-shm") || name.ends_with("-journal")) continue;
    state[name] = entry.is_regular_file() ? readFile(entry.path()) : "<folder>";
  }
  RunResult exported = runProgram("vandrel-machine", {"reg", "export", root.string()});
  state["<registry export>"] = exported.out;
  return state;
}

}  // namespace vandrel::test
