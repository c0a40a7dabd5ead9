// What every program does first: take its Windows command line and open the machine it runs on.
#pragma once

#include <memory>
#include <string>

#include "platform/machine.h"

namespace vandrel::platform {

// The whole command line as Windows hands it to a program: the arguments joined by blanks.
std::string commandLineFrom(int argc, char** argv);

// The machine of this run (openHostMachine, with this executable as the running module). On
// failure: one line "<program>: <reason>" on standard error, and null.
std::unique_ptr<Machine> openProgramMachine(const std::string& program, const char* argv0,
                                            bool hostDriveWritable = false);

}  // namespace vandrel::platform
