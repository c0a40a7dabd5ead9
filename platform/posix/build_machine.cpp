// The machine of a build for Linux: the emulated one.
#include "platform/program_start.h"

namespace vandrel::platform {

const MachineKind kBuildMachine = MachineKind::Emulated;

}  // namespace vandrel::platform
