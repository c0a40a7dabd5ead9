// Byte counts as the programs show them.
#pragma once

#include <string>

namespace vandrel::script {

// The setup's size text: "1.50 Ko", "1.00 Mo", "2.00 Go" (single-precision, "%0.2f").
std::string sizeText(float bytes);

// The builder's FormatSize: the same rule with " Kb", " Mb", " Gb".
std::string FormatSize(double bytes);

}  // namespace vandrel::script
