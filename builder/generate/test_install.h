// Test install: find the last generated package (or let the author point at it, or
// generate it) and start its Setup.exe.
#pragma once

#include "builder/model/script_doc.h"
#include "builder/generate/builder_context.h"
#include "builder/generate/package_generator.h"

namespace vandrel::builder {

enum class TestInstallOutcome { Started, NotStarted };

// generator runs Generate when the package has to be made first (what the run chose is kept in
// doc); options answer its first folder prompt and its disk question when given.
TestInstallOutcome runTestInstall(CScriptDoc& doc, PackageGenerator& generator,
                                  BuilderContext& context, const GenerateOptions& options = {});

}  // namespace vandrel::builder
