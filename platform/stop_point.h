// A crash test's stop: VANDREL_STOP_AFTER=N ends the program as a kill would, right after the
// Nth step it reports, so that a test can stop a run at each of its steps in turn.
#pragma once

namespace vandrel::platform {

// The variable that names the step after which the program ends.
inline constexpr const char* kStopAfterVariable = "VANDREL_STOP_AFTER";

// Counts one step of the run (one change of the machine, as the action log reports it). At
// the step VANDREL_STOP_AFTER names, the process ends at once: no destructor runs and nothing
// more is written, as with kill -9. Unset, empty, 0 or not a number: nothing ever stops.
void passStopPoint();

}  // namespace vandrel::platform
