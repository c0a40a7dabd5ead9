// The graphical builder's entry when this program is built without it.
#include <cstdio>

#include "builder/cli/gui_entry.h"

namespace vandrel::builder::cli {

int runGui(int, char**) {
  std::fputs("corvix: this build has no graphical builder; use a subcommand (corvix --help)\n", stderr);
  return 1;
}

}  // namespace vandrel::builder::cli
