// Running the real programs from tests: arguments, environment, captured output, exit status.
#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace vandrel::test {

struct RunResult {
  int exitStatus = -1;  // the program's exit status; 128 + signal when it was killed
  std::string out;
  std::string err;
};

// Runs program (a path, or a name in build/bin) with arguments; env entries are added to
// (or, with an empty value, removed from) the inherited environment. Standard input is
// closed. A program still running after timeoutSeconds is killed. Several may run at once
// from different threads.
RunResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::map<std::string, std::string>& env = {},
                     int timeoutSeconds = 120);

// The same, killed (SIGKILL, with every program it started, also those in sessions of their
// own) once it has run for limit: for trials that stop a program at a chosen moment. Its exit
// status is then 137; when it returns none of those programs runs any more.
RunResult runProgramFor(const std::string& program, const std::vector<std::string>& arguments,
                        const std::map<std::string, std::string>& env, std::chrono::milliseconds limit);

// build/bin/<name>
std::filesystem::path binPath(const std::string& name);
// The source tree root.
std::filesystem::path sourcePath();
// A host path as the programs name it through the host's drive: /tmp/a -> Z:\tmp\a.
std::string windowsForm(const std::filesystem::path& host);
// A builder scenario's document text with @SRC@ standing for its files folder (as the programs
// name it) and @SIZE:file@ for the size of a file there, filled in.
std::string withScenarioFiles(std::string text, const std::filesystem::path& files);

}  // namespace vandrel::test
