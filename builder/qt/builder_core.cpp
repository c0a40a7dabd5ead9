// The builder's run-long state.
#include "builder/qt/builder_core.h"

#include <algorithm>

#include "builder/generate/headless_session.h"

namespace vandrel::builder::app {

BuilderCore::BuilderCore(platform::Machine& m, ui::Interaction& port)
    : machine(m), ui(port), progress(port, m.files()) {}

BuilderContext BuilderCore::context() { return machineContext(machine, ui, progress); }

void BuilderCore::noteRecentFile(const std::string& hostPath) {
  recentFiles.erase(std::remove(recentFiles.begin(), recentFiles.end(), hostPath), recentFiles.end());
  recentFiles.insert(recentFiles.begin(), hostPath);
  if (recentFiles.size() > kRecentFiles) recentFiles.resize(kRecentFiles);
}

}  // namespace vandrel::builder::app
