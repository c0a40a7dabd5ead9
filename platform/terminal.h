// The terminal behind a standard stream, as the console interaction needs it.
#pragma once

#include <cstdio>

namespace vandrel::platform {

// Whether the stream is a terminal (a person may answer on it).
bool isTerminal(std::FILE* stream);
// Whether input is waiting on the stream, asked without waiting.
bool inputWaiting(std::FILE* stream);

}  // namespace vandrel::platform
