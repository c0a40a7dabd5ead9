// Test install: find the last generated package (or let the author point at it, or
// generate it) and start its Setup.exe.
#pragma once

#include "builder/model/script_doc.h"
#include "builder/generate/builder_context.h"
#include "builder/generate/package_generator.h"

namespace vandrel::builder {

enum class TestInstallOutcome { Started, NotStarted };

// How the package's starter is started: as the builder starts it (WinExec, not waited for), or
// waited for, so that an unattended run can pass on the setup's exit status.
enum class StarterLaunch { Detached, Wait };

struct TestInstallResult {
  TestInstallOutcome outcome = TestInstallOutcome::NotStarted;
  // The setup's exit status, when it was waited for and ended by itself.
  std::optional<int> setupStatus;
  // Why the setup was not started, naming the package folder or the question that decided
  // it; empty when it was started.
  std::string whyNotStarted;
};

// generator runs Generate when the package has to be made first (what the run chose is kept in
// doc); options answer its first folder prompt and its disk question when given.
TestInstallResult runTestInstall(CScriptDoc& doc, PackageGenerator& generator,
                                 BuilderContext& context, const GenerateOptions& options = {},
                                 StarterLaunch launch = StarterLaunch::Detached);

}  // namespace vandrel::builder
