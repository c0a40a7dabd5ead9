// The summary-information record in its property-set byte form, as a .cvx file stores it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "builder/model/summary_info.h"

namespace vandrel::builder {

// The "\005SummaryInformation" stream: a property-set stream with one section.
std::string encodeSummaryInfo(const SummaryInfo& info);
// Reads what it can of a property-set stream; nullopt when it is not one. Unknown
// properties are skipped; a damaged value leaves its field at the default.
std::optional<SummaryInfo> decodeSummaryInfo(std::string_view stream);

}  // namespace vandrel::builder
