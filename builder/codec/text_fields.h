// The key tables of the setting sections, shared by the writer and the loader of the text form.
#pragma once

#include <cstdint>
#include <climits>
#include <string>
#include <vector>

#include "builder/model/settings.h"

namespace vandrel::builder {

// One key of a setting section: a text, a decimal number or a colour ("0x" + 8 hex digits).
// A number's range is the one the settings pages offer (a check box 0 or 1, a list's items);
// a value set by key outside it is refused, one read from a document is kept as it is.
template <typename S>
struct KeyField {
  const char* name;
  std::string S::*text = nullptr;
  int S::*number = nullptr;
  std::uint32_t S::*colour = nullptr;
  int low = INT32_MIN;
  int high = INT32_MAX;
};

template <typename S>
KeyField<S> textKey(const char* name, std::string S::*m) { return {name, m, nullptr, nullptr}; }
template <typename S>
KeyField<S> numberKey(const char* name, int S::*m, int low = INT32_MIN, int high = INT32_MAX) {
  return {name, nullptr, m, nullptr, low, high};
}
template <typename S>
KeyField<S> colourKey(const char* name, std::uint32_t S::*m) {
  return {name, nullptr, nullptr, m};
}

const std::vector<KeyField<ScriptSettings>>& settingsKeys();
const std::vector<KeyField<BackgroundSettings>>& backgroundKeys();
const std::vector<KeyField<DocumentProperties>>& ownerKeys();

}  // namespace vandrel::builder
