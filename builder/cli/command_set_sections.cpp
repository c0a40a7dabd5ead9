// The settings `set` and `get` reach beyond the [Settings], [Background] and [Owner] keys: the
// uninstaller's (UnGroup, UnDesc), the end of installation's Reboot and the Web page's
// StartURL, checked as their pages check them.
#include "builder/cli/command_set_sections.h"

#include <cctype>

#include "platform/text/text_rules.h"

namespace vandrel::builder::cli {

namespace {

enum class Other { UnGroup, UnDesc, Reboot, StartUrl };

struct OtherKey {
  const char* name;
  Other which;
};

constexpr OtherKey kOtherKeys[] = {{"UnGroup", Other::UnGroup},
                                   {"UnDesc", Other::UnDesc},
                                   {"Reboot", Other::Reboot},
                                   {"StartURL", Other::StartUrl}};

const OtherKey* findOther(std::string_view key) {
  for (const OtherKey& other : kOtherKeys) {
    if (text::equalsNoCase(key, other.name)) return &other;
  }
  return nullptr;
}

// A whole decimal number of a few digits, optionally negative; nullopt otherwise.
std::optional<int> smallNumber(std::string_view text) {
  std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
  if (i == text.size() || text.size() - i > 6) return std::nullopt;
  int value = 0;
  for (std::size_t k = i; k < text.size(); ++k) {
    if (!std::isdigit(static_cast<unsigned char>(text[k]))) return std::nullopt;
    value = value * 10 + (text[k] - '0');
  }
  return i ? -value : value;
}

std::string setText(std::string& target, const char* name, std::string_view value) {
  if (value.find_first_of("\r\n") != std::string_view::npos)
    return std::string(name) + ": a setting's text cannot hold a line break";
  target = std::string(value);
  return {};
}

}  // namespace

std::optional<std::string> otherSettingName(std::string_view key) {
  const OtherKey* other = findOther(key);
  return other ? std::optional<std::string>(other->name) : std::nullopt;
}

std::optional<std::string> otherSettingValue(const CScriptDoc& doc, std::string_view key) {
  const OtherKey* other = findOther(key);
  if (!other) return std::nullopt;
  switch (other->which) {
    case Other::UnGroup: return std::to_string(doc.uninstallGroupIndex());
    case Other::UnDesc: return doc.uninstall.unDesc;
    case Other::Reboot: return std::to_string(doc.endOfInstall.reboot);
    case Other::StartUrl: return doc.web.startUrl;
  }
  return std::nullopt;
}

std::optional<std::string> changeOtherSetting(CScriptDoc& doc, std::string_view key,
                                              std::string_view value) {
  const OtherKey* other = findOther(key);
  if (!other) return std::nullopt;
  std::string name = other->name;
  switch (other->which) {
    case Other::UnGroup: {
      // -1: the first group of the document; else a group by its number in [Groups] (from 0).
      std::optional<int> n = smallNumber(value);
      if (!n) return name + ": \"" + std::string(value) + "\" is not a whole number";
      if (*n < -1 || *n >= doc.groups.count()) {
        return name + ": " + std::string(value) + " is beyond the list (-1, or a group from 0 to " +
               std::to_string(doc.groups.count() - 1) + ")";
      }
      doc.uninstall.groupKey = *n < 0 ? 0 : doc.groups.at(*n).key;
      doc.uninstall.unGroup = *n;
      return std::string();
    }
    case Other::UnDesc: return setText(doc.uninstall.unDesc, other->name, value);
    case Other::Reboot: {
      std::optional<int> n = smallNumber(value);
      if (!n) return name + ": \"" + std::string(value) + "\" is not a whole number";
      if (*n < 0 || *n > 2) return name + ": " + std::string(value) + " is out of range (0 to 2)";
      doc.endOfInstall.reboot = *n;
      return std::string();
    }
    case Other::StartUrl: return setText(doc.web.startUrl, other->name, value);
  }
  return std::nullopt;
}

}  // namespace vandrel::builder::cli
