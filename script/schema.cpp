// The section names and count keys of the install script and the document text, and the
// cutting and joining of entry fields.
#include "script/schema.h"

#include <algorithm>
#include <array>

#include "script/list_item.h"

namespace vandrel::script {
namespace {

struct SectionNames {
  Section section;
  const char* name;
  const char* countKey;  // "" for a section without a count
};

constexpr std::array<SectionNames, 18> kSections{{
    {Section::Settings, "Settings", ""},
    {Section::Background, "Background", ""},
    {Section::Directories, "Directories", "nbDir"},
    {Section::Descriptions, "Descriptions", "nbDesc"},
    {Section::Groups, "Groups", "nbGrp"},
    {Section::AddIni, "AddINI", "nbINI"},
    {Section::Registry, "Registry", "nbReg"},
    {Section::Files, "Files", "nbFiles"},
    {Section::Shortcuts, "Shortcuts", "nbAdd"},
    {Section::Messages, "Messages", "nbMsg"},
    {Section::End, "End", ""},
    {Section::UnInstall, "UnInstall", ""},
    {Section::Owner, "Owner", ""},
    {Section::Web, "Web", ""},
    {Section::SharedFiles, "SharedFiles", "nb"},
    {Section::AddedLinks, "AddedLinks", "nb"},
    {Section::AddedFolders, "AddedFolders", "nb"},
    {Section::Peskin, "Peskin", ""},
}};

const SectionNames& names(Section section) {
  for (const SectionNames& entry : kSections) {
    if (entry.section == section) return entry;
  }
  return kSections[0];  // unreachable: every enumerator has a row
}

// Settings first, then the uninstaller, background and owner sections, the eight entry
// sections, [End] and [Web].
constexpr Section kDocumentSections[] = {
    Section::Settings,     Section::Peskin,   Section::Background, Section::Owner,
    Section::Directories,  Section::Descriptions, Section::Groups, Section::AddIni,
    Section::Registry,     Section::Files,    Section::Shortcuts,  Section::Messages,
    Section::End,          Section::Web};

}  // namespace

std::string sectionName(Section section) { return names(section).name; }

std::string countKey(Section section) { return names(section).countKey; }

std::span<const Section> documentSections() { return kDocumentSections; }

std::string oneLine(std::string_view value) {
  std::string out(value);
  for (char& c : out) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return out;
}

long FieldText::number(std::string_view def) const { return readInt(text(def)); }

namespace detail {

std::vector<std::string> splitFields(std::string_view value) {
  std::vector<std::string> items;
  if (value.empty()) return items;
  // One allocation for the list: an entry is read per file of an installation or removal.
  items.reserve(std::size_t(std::count(value.begin(), value.end(), ',')) + 1);
  std::size_t start = 0;
  while (true) {
    std::size_t comma = value.find(',', start);
    if (comma == std::string_view::npos) {
      items.emplace_back(value.substr(start));
      return items;
    }
    items.emplace_back(value.substr(start, comma - start));
    start = comma + 1;
  }
}

std::vector<std::string> splitDocumentFields(std::string_view value, std::size_t expected,
                                             int freeText) {
  std::vector<std::string> items = splitFields(value);
  if (freeText < 1 || items.size() <= expected) return items;
  // The extra commas belong to the free-text field (a description, a value, a path, a
  // command line), which takes them back instead of losing the text after the first one.
  const std::size_t at = std::size_t(freeText) - 1;
  const std::size_t extra = items.size() - expected;
  for (std::size_t i = 1; i <= extra; ++i) items[at] += "," + items[at + i];
  items.erase(items.begin() + long(at) + 1, items.begin() + long(at + extra) + 1);
  return items;
}

std::string joinFields(const std::vector<std::string>& items) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i != 0) out += ',';
    out += oneLine(items[i]);
  }
  return out;
}

}  // namespace detail
}  // namespace vandrel::script
