// The numbered keys a script section really holds, so that loops over a count read from the
// script are bounded by the file's contents rather than by the count.
#pragma once

#include <string>
#include <vector>

#include "platform/profile.h"

namespace vandrel::setup {

// The keys of section in the profile file that are plain decimal numbers ("0", "17"; no sign,
// no leading zero) between first and last inclusive, ascending, each once.
std::vector<long> numberedKeys(platform::Profile& profile, const std::string& file,
                               const std::string& section, long first, long last);

}  // namespace vandrel::setup
