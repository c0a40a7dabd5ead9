// The queries both version fuzz targets make on a version block.
#pragma once

#include "platform/types.h"

namespace vandrel::fuzz {

// Every kind of query the setup engine makes (fixed information, translations, the strings
// of each translation) plus odd paths; checks that the conveniences agree with the raw query.
void queryVersionBlock(const platform::Bytes& block);

}  // namespace vandrel::fuzz
