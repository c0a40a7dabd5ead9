// The machine of a build for Windows: the one the programs run on.
#include "platform/program_start.h"

namespace vandrel::platform {

const MachineKind kBuildMachine = MachineKind::Windows;

}  // namespace vandrel::platform
