// Reading the switches at the front of a command line, and refusing help requests and
// unknown switches before a program changes anything.
#include "platform/command_switches.h"

#include <cctype>
#include <cstdio>

#include "platform/host_environment.h"

namespace vandrel::platform {
namespace {

// Switches are ASCII words: compared letter by letter without regard to case.
bool sameSwitch(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// One word of a command line from at: up to the next blank outside double quotes. text is the
// word as typed; plain is the word with its double quotes taken away.
struct Word {
  std::size_t begin = 0, end = 0;
  std::string text, plain;
};

Word wordAt(const std::string& line, std::size_t at) {
  Word word;
  word.begin = at;
  bool quoted = false;
  for (; at < line.size() && (quoted || !isBlank(line[at])); ++at) {
    if (line[at] == '"') {
      quoted = !quoted;
    } else {
      word.plain += line[at];
    }
  }
  word.end = at;
  word.text = line.substr(word.begin, at - word.begin);
  return word;
}

const CommandSwitch* findSwitch(std::string_view name) {
  for (const CommandSwitch& known : commandSwitches()) {
    if (sameSwitch(name, known.windowsName) || sameSwitch(name, known.linuxName)) return &known;
  }
  return nullptr;
}

// The verdict on one switch word; given gets the switch it names.
CommandLineVerdict readSwitch(const Word& word, CommandLineCheck& check) {
  std::size_t equals = word.plain.find('=');
  std::string_view name = std::string_view(word.plain).substr(0, equals);
  const CommandSwitch* known = findSwitch(name);
  if (!known) return CommandLineVerdict::UnknownSwitch;
  if (!known->valueName) {
    if (equals != std::string::npos) return CommandLineVerdict::UnknownSwitch;
    check.given.emplace_back(known, known->setting);
    return CommandLineVerdict::Run;
  }
  if (equals == std::string::npos || equals + 1 == word.plain.size()) {
    return CommandLineVerdict::MissingValue;
  }
  check.given.emplace_back(known, word.plain.substr(equals + 1));
  return CommandLineVerdict::Run;
}

bool isOwnSwitch(const std::string& word, const std::vector<std::string>& known) {
  for (const std::string& own : known) {
    if (sameSwitch(word, own)) return true;
  }
  return false;
}

}  // namespace

const std::vector<CommandSwitch>& commandSwitches() {
  static const std::vector<CommandSwitch> kSwitches = {
      {"/S", "--silent", nullptr, "VANDREL_UI", "scripted",
       "no window, no prompt: the answers, else defaults"},
      {"/ANSWERS", "--answers", "FILE", "VANDREL_ANSWERS", nullptr,
       "the answers file of a silent (or GUI) run"},
      {"/LENIENT", "--lenient", nullptr, "VANDREL_ANSWERS_LENIENT", "1",
       "unknown answers entries warned about, not refused"},
      {"/DIR", "--dir", "FOLDER", "VANDREL_DIR", nullptr,
       "the destination folder, as [Wizard] Folder"},
      {"/LOG", "--log", "FILE", "VANDREL_LOG", nullptr,
       "action log: a JSON line per action, a summary"},
      {"/TRANSCRIPT", "--transcript", "FILE", "VANDREL_TRANSCRIPT", nullptr,
       "every dialog shown, a JSON line each"},
      {"/RECORD", "--record", "FILE", "VANDREL_RECORD", nullptr,
       "an answers file written from this run"},
      {"/PLAN", "--plan", nullptr, "VANDREL_PLAN", "1",
       "log the whole run, changing nothing"},
      {"/MACHINE", "--machine", "FOLDER", "VANDREL_MACHINE", nullptr,
       "the emulated machine's root folder (Linux)"},
  };
  return kSwitches;
}

const std::vector<std::string>& helpSwitches() {
  static const std::vector<std::string> kHelp = {"/?", "--help", "-h", "-?"};
  return kHelp;
}

CommandLineCheck checkCommandLine(const std::string& commandLine,
                                  const std::vector<std::string>& known) {
  CommandLineCheck check;
  check.rest = commandLine;
  std::size_t at = 0;
  while (true) {
    while (at < commandLine.size() && isBlank(commandLine[at])) ++at;
    if (at == commandLine.size()) {
      if (!check.given.empty()) check.rest.clear();
      return check;
    }
    Word word = wordAt(commandLine, at);
    bool switchWord = word.text.front() == '/' || word.text.front() == '-';
    if (!switchWord || isOwnSwitch(word.text, known)) {
      if (!check.given.empty()) check.rest = commandLine.substr(word.begin);
      return check;
    }
    for (const std::string& help : helpSwitches()) {
      if (sameSwitch(word.text, help)) return {CommandLineVerdict::Help, word.text, {}, {}};
    }
    CommandLineVerdict verdict = readSwitch(word, check);
    if (verdict != CommandLineVerdict::Run) return {verdict, word.text, {}, {}};
    at = word.end;
  }
}

void applySwitches(const CommandLineCheck& check) {
  for (const auto& [known, value] : check.given) setHostEnvironment(known->variable, value);
}

std::string switchUsage() {
  // The column of the switches' help lines: each line of the usage fits 80 columns.
  constexpr std::size_t kHelpColumn = 32;
  std::string usage = "Switches (either spelling; a switch wins over its environment variable):\n";
  for (const CommandSwitch& known : commandSwitches()) {
    std::string names = std::string("  ") + known.windowsName;
    if (known.valueName) names += std::string("=") + known.valueName;
    names += std::string(", ") + known.linuxName;
    if (known.valueName) names += std::string("=") + known.valueName;
    if (names.size() < kHelpColumn) {
      names.resize(kHelpColumn, ' ');
    } else {
      names += "\n" + std::string(kHelpColumn, ' ');
    }
    usage += names + known.help + "\n";
  }
  std::string help = "  /?, --help";
  help.resize(kHelpColumn, ' ');
  usage += help + "this text; nothing is done\n";
  return usage;
}

int refuseCommandLine(const std::string& program, const CommandLineCheck& check,
                      const std::string& usage) {
  if (check.verdict == CommandLineVerdict::Help) {
    std::fputs(usage.c_str(), stdout);
    std::fflush(stdout);
  } else if (check.verdict == CommandLineVerdict::MissingValue) {
    std::fprintf(stderr, "%s: the switch %s needs a value (NAME=VALUE)\n%s", program.c_str(),
                 check.word.c_str(), usage.c_str());
  } else {
    std::fprintf(stderr, "%s: unknown switch %s\n%s", program.c_str(), check.word.c_str(),
                 usage.c_str());
  }
  return kUsageStatus;
}

}  // namespace vandrel::platform
