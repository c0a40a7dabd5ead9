// Byte counts shown in Ko/Mo/Go (setup) and Kb/Mb/Gb (builder).
#include "script/size_text.h"

#include <cstdio>

namespace vandrel::script {
namespace {

struct Units {
  const char* kilo;
  const char* mega;
  const char* giga;
};

// "%0.2f" of the quotient followed by the unit. The largest double prints as 309 digits
// and the decimals, so the buffer never cuts a value.
std::string format(double quotient, const char* unit) {
  char text[400];
  std::snprintf(text, sizeof text, "%0.2f", quotient);
  return std::string(text) + unit;
}

template <typename Number>
std::string sizeWith(Number bytes, const Units& units) {
  const Number giga = Number(1073741824.0);
  const Number mega = Number(1048576.0);
  const Number kilo = Number(1024.0);
  if (bytes >= giga) return format(bytes / giga, units.giga);
  if (bytes >= mega) return format(bytes / mega, units.mega);
  return format(bytes / kilo, units.kilo);
}

}  // namespace

std::string sizeText(float bytes) { return sizeWith<float>(bytes, {" Ko", " Mo", " Go"}); }

std::string FormatSize(double bytes) { return sizeWith<double>(bytes, {" Kb", " Mb", " Gb"}); }

}  // namespace vandrel::script
