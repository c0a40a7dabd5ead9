// The builder's run-long state.
#include "builder/qt/builder_core.h"

#include "builder/frame/frame_flow.h"
#include "builder/generate/headless_session.h"

namespace vandrel::builder::app {

BuilderCore::BuilderCore(platform::Machine& m, ui::Interaction& port)
    : machine(m), ui(port), progress(port, m.files()) {}

BuilderContext BuilderCore::context() { return machineContext(machine, ui, progress); }

void BuilderCore::noteRecentFile(const std::string& hostPath) { frame::noteRecentFile(recentFiles, hostPath); }

}  // namespace vandrel::builder::app
