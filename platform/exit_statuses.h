// The exit statuses of every program, each with what happened and what to do: the one table
// the usage texts, the failure lines on standard error and docs/exit-codes.md are made from.
#pragma once

#include <string>
#include <vector>

namespace vandrel::platform {

struct ExitStatus {
  // The status; kOtherStatus for a row that stands for statuses passed on from another
  // program or given by a parser (the text says which).
  int status = 0;
  const char* happened = "";  // what the program did or met, in a user's words
  const char* toDo = "";      // what the user does next ("" when nothing is to be done)
};

inline constexpr int kOtherStatus = -1;

struct ProgramExits {
  const char* programs;  // the programs the table is for, as docs/exit-codes.md heads it
  const char* key;       // the name exitStatusesOf() knows it by
  std::vector<ExitStatus> statuses;
};

// Every program's table, in the order docs/exit-codes.md shows them.
const std::vector<ProgramExits>& allExitStatuses();

// One program's table by key: "tamsin32" (also Setup.exe passing the engine's on),
// "Setup.exe" (the starter's own), "peskin32", "corvix", "vandrel-machine", "vandrel-lz",
// "vandrel-paint", "vandrel-state". Null for another key.
const ProgramExits* exitStatusesOf(const std::string& key);

// One status of a program's table; null when the table does not list it.
const ExitStatus* exitStatusOf(const std::string& key, int status);

// The exit-status part of a usage text: the heading and one entry per status, "  N   what
// happened; what to do.", wrapped at 79 columns.
std::string exitStatusHelp(const std::string& key, const std::string& heading = "Exit status:");

}  // namespace vandrel::platform
