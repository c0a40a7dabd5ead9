// Refusing help requests and unknown switches before a program changes anything.
#include "platform/command_switches.h"

#include <cctype>
#include <cstdio>

namespace vandrel::platform {
namespace {

// Switches are ASCII words: compared letter by letter without regard to case.
bool sameSwitch(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

CommandLineCheck checkCommandLine(const std::string& commandLine,
                                  const std::vector<std::string>& known) {
  std::size_t begin = commandLine.find_first_not_of(" \t");
  if (begin == std::string::npos) return {};
  std::size_t end = commandLine.find_first_of(" \t", begin);
  std::string word = commandLine.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
  if (word.front() != '/' && word.front() != '-') return {};
  for (const char* help : {"--help", "-h", "-?", "/?"}) {
    if (sameSwitch(word, help)) return {CommandLineVerdict::Help, word};
  }
  for (const std::string& own : known) {
    if (sameSwitch(word, own)) return {};
  }
  return {CommandLineVerdict::UnknownSwitch, word};
}

int refuseCommandLine(const std::string& program, const CommandLineCheck& check,
                      const std::string& usage) {
  if (check.verdict == CommandLineVerdict::Help) {
    std::fputs(usage.c_str(), stdout);
    std::fflush(stdout);
  } else {
    std::fprintf(stderr, "%s: unknown switch %s\n%s", program.c_str(), check.word.c_str(),
                 usage.c_str());
  }
  return kUsageStatus;
}

}  // namespace vandrel::platform
