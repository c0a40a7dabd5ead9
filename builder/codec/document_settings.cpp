// Reading and changing one setting by its key, over the key tables of the text form.
#include "builder/codec/document_settings.h"

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>

#include "builder/codec/text_fields.h"
#include "platform/text/text_rules.h"

namespace vandrel::builder {

namespace {

// A decimal integer in the 32-bit range of the document's numbers, the whole text.
std::optional<long long> strictNumber(std::string_view text) {
  std::size_t i = text.size() > 1 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i == text.size() || text.size() - i > 10) return std::nullopt;
  long long value = 0;
  for (std::size_t k = i; k < text.size(); ++k) {
    if (!std::isdigit(static_cast<unsigned char>(text[k]))) return std::nullopt;
    value = value * 10 + (text[k] - '0');
  }
  if (text[0] == '-') value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return value;
}

// "0x" followed by one to eight hex digits, the whole text.
std::optional<std::uint32_t> strictColour(std::string_view text) {
  if (text.size() < 3 || text.size() > 10 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (std::size_t i = 2; i < text.size(); ++i) {
    char c = text[i];
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
    value = value * 16 + std::uint32_t(d);
  }
  return value;
}

template <typename S>
const KeyField<S>* findKey(const std::vector<KeyField<S>>& keys, std::string_view key) {
  for (const KeyField<S>& field : keys) {
    if (text::equalsNoCase(key, field.name)) return &field;
  }
  return nullptr;
}

template <typename S>
std::string valueOf(const S& group, const KeyField<S>& key) {
  if (key.text) return group.*(key.text);
  if (key.number) return decimal(group.*(key.number));
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08x", unsigned(group.*(key.colour)));
  return buffer;
}

template <typename S>
std::string rangeText(const KeyField<S>& key) {
  if (key.high == INT32_MAX) return decimal(key.low) + " or more";
  return decimal(key.low) + " to " + decimal(key.high);
}

template <typename S>
std::string assign(S& group, const KeyField<S>& key, std::string_view value) {
  std::string name = key.name;
  if (key.text) {
    if (value.find_first_of("\r\n") != std::string_view::npos) {
      return name + ": a setting's text cannot hold a line break";
    }
    group.*(key.text) = std::string(value);
  } else if (key.number) {
    std::optional<long long> n = strictNumber(value);
    if (!n) return name + ": \"" + std::string(value) + "\" is not a whole number";
    if (*n < key.low || *n > key.high) {
      return name + ": " + std::string(value) + " is out of range (" + rangeText(key) + ")";
    }
    group.*(key.number) = int(*n);
  } else {
    std::optional<std::uint32_t> c = strictColour(value);
    if (!c) return name + ": \"" + std::string(value) + "\" is not a colour (0x00BBGGRR)";
    group.*(key.colour) = *c;
  }
  return {};
}

}  // namespace

std::optional<std::string> settingValue(const CScriptDoc& doc, std::string_view key) {
  if (auto* k = findKey(settingsKeys(), key)) return valueOf(doc.settings, *k);
  if (auto* k = findKey(backgroundKeys(), key)) return valueOf(doc.background, *k);
  if (auto* k = findKey(ownerKeys(), key)) return valueOf(doc.properties, *k);
  return std::nullopt;
}

std::string changeSetting(CScriptDoc& doc, std::string_view key, std::string_view value) {
  if (auto* k = findKey(settingsKeys(), key)) return assign(doc.settings, *k, value);
  if (auto* k = findKey(backgroundKeys(), key)) return assign(doc.background, *k, value);
  if (auto* k = findKey(ownerKeys(), key)) return assign(doc.properties, *k, value);
  return "unknown setting \"" + std::string(key) + "\"";
}

std::optional<std::string> settingName(std::string_view key) {
  if (auto* k = findKey(settingsKeys(), key)) return k->name;
  if (auto* k = findKey(backgroundKeys(), key)) return k->name;
  if (auto* k = findKey(ownerKeys(), key)) return k->name;
  return std::nullopt;
}

}  // namespace vandrel::builder
