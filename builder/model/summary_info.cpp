// The current time as a file time: the default clock of a document.
#include "builder/model/summary_info.h"

#include "platform/clock.h"

namespace vandrel::builder {

std::uint64_t fileTimeNow() { return platform::hostClock().now(); }

}  // namespace vandrel::builder
