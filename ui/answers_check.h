// The check of an answers file before a run: every section, key and value must be one the
// setup engine and the uninstaller know, so that a misspelt entry stops the run with its file
// and line rather than let it go on with other answers than the ones written.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "ui/interaction.h"

namespace vandrel::ui {

// One key an answers file may hold. kNumbered stands for the keys 1, 2, 3, ... of a section.
inline constexpr const char* kNumbered = "N";
struct AnswersKey {
  const char* section;
  const char* key;
  const char* expected;  // what its value must be, as a refusal says it
};

// Every section and key the programs read, in the order a file usually has them.
const std::vector<AnswersKey>& answersKeys();

// The pages [Wizard] Cancel= may name, in the order the setup shows them.
const std::vector<std::string>& answersPageNames();

struct AnswersFinding {
  int line = 0;
  std::string what;      // "unknown section [Wizzard]"
  std::string expected;  // "[Wizard], [Answers], [Folders], [Choices] or [Progress]"
  // An entry this version does not know (a section, key, page or component): accepted with
  // a warning when unknown entries are allowed, for files written for other versions.
  bool unknownEntry = false;
};

// The findings of an answers file's text: lines that are not sections, entries or comments,
// sections given twice, unknown sections and keys, and values of the wrong form.
std::vector<AnswersFinding> checkAnswersText(std::string_view text);

// The findings of [Wizard] Components against the package: every number listed must be one
// of its optional [Directories] entries.
std::vector<AnswersFinding> checkAnswersComponents(std::string_view text,
                                                   const std::vector<long>& optionalDirectories);

// Prints each finding on err as "<program>: <file>(<line>): <what>; expected <expected>".
// With lenient, an unknown entry is printed as a warning instead ("...: warning: <what>;
// expected <expected>; ignored") and does not refuse the file. True when the run may go on.
bool reportAnswersFindings(const std::string& program, const std::string& file,
                           const std::vector<AnswersFinding>& findings, bool lenient,
                           std::FILE* err, bool warnings = true);

// The check a program makes at its start, before it opens its machine: the answers file of
// the environment (VANDREL_ANSWERS) when the run answers from it (scripted, or gui following
// one; a file that cannot be read is left to answersFileProblem), unknown entries warned
// about rather than refused with VANDREL_ANSWERS_LENIENT=1. True when the run may go on;
// otherwise the findings were printed, prefixed with program. Without warnings, the entries
// accepted leniently are not named (the package starter leaves that to the engine it starts).
bool answersFileAccepted(const std::string& program, bool warnings = true);

// The same check of [Wizard] Components, once the program has read its package's script.
bool answersComponentsAccepted(const std::string& program, const std::vector<long>& optionalDirectories,
                               bool warnings = true);

}  // namespace vandrel::ui
