// The drop import's directory selector and file page over the interaction port.
#include <cstdlib>

#include "builder/dropimport/drop_import.h"
#include "builder/pages/page_common.h"
#include "builder/strings/builder_strings.h"
#include "platform/text/text_rules.h"

namespace vandrel::builder::dropimport {

namespace {

// A page refused this many times in a row (or a selector left without a choice while it
// cannot be cancelled) is given up, so that no backend loops for ever.
constexpr int kMaxAttempts = 3;

ui::Field text(const std::string& name, const std::string& label, const std::string& value) {
  ui::Field f;
  f.kind = ui::Field::Kind::Text;
  f.name = name;
  f.label = label;
  f.value = value;
  return f;
}

ui::Field check(const std::string& name, const std::string& label, bool checked) {
  ui::Field f;
  f.kind = ui::Field::Kind::Check;
  f.name = name;
  f.label = label;
  f.checked = checked;
  return f;
}

ui::Field radio(const std::string& name, const std::string& label, std::vector<std::string> items,
                int selected) {
  ui::Field f;
  f.kind = ui::Field::Kind::Radio;
  f.name = name;
  f.label = label;
  f.items = std::move(items);
  f.selected = selected;
  return f;
}

const ui::Field* field(const std::vector<ui::Field>& fields, const std::string& name) {
  for (const ui::Field& f : fields) {
    if (f.name == name) return &f;
  }
  return nullptr;
}

ui::Page filePage(const pages::CAddFileDlg& page) {
  ui::Page p;
  p.id = "file:" + page.sourcePath + "\\" + page.sourceName;
  p.caption = str(sid::PropertiesCaption);
  p.text = "Source name: " + page.sourceName + "\nSize (in bytes): " + decimal(page.size) +
           "\nSource path: " + page.sourcePath;
  p.next.clear();
  p.finish = "OK";
  std::vector<std::string> descriptions{"(none)"};
  for (const pages::EntryItem& item : page.descriptions) descriptions.push_back(item.text);
  p.fields = {
      text("Disk", "&Source Disk:", decimal(page.disk)),
      text("DestName", "&Destination name:", page.destName),
      check("Uninstall", "&Uninstall this file", page.uninstall),
      check("ForceCopy", "&Force copy if file exists", page.forceCopy),
      check("Decompress", "LZ method Deco&mpress", page.decompress),
      check("Shared", "Declare as S&hared File", page.shared),
      radio("Directory", "Destination D&irectory:", page.directoryChoices(), page.directory),
      radio("Platform", "Destination &Platform:", pages::stringItems(sid::PlatformNames, 4),
            page.platform),
      radio("Description", "File Des&cription:", descriptions, page.description + 1),
  };
  if (page.useDefaultsEnabled()) {
    p.fields.push_back(check("UseDefaults", "Use d&efault settings for other dropped files", page.useDefaults));
  }
  return p;
}

// The fields as the author left them, back into the page; a disk that is not a number is
// kept out of range so that the page's check refuses it.
void readBack(pages::CAddFileDlg& page, const std::vector<ui::Field>& fields) {
  if (const ui::Field* f = field(fields, "Disk")) {
    std::string t(text::trimLeading(f->value));
    char* end = nullptr;
    long n = std::strtol(t.c_str(), &end, 10);
    page.disk = !t.empty() && end && *end == '\0' && n >= -1 && n <= 100000 ? int(n) : -1;
  }
  if (const ui::Field* f = field(fields, "DestName")) page.destName = f->value;
  if (const ui::Field* f = field(fields, "Uninstall")) page.uninstall = f->checked;
  if (const ui::Field* f = field(fields, "ForceCopy")) page.forceCopy = f->checked;
  if (const ui::Field* f = field(fields, "Decompress")) page.decompress = f->checked;
  if (const ui::Field* f = field(fields, "Shared")) page.shared = f->checked;
  if (const ui::Field* f = field(fields, "Directory")) page.directory = f->selected;
  if (const ui::Field* f = field(fields, "Platform")) page.platform = f->selected;
  if (const ui::Field* f = field(fields, "Description")) page.description = f->selected - 1;
  if (const ui::Field* f = field(fields, "UseDefaults")) page.useDefaults = f->checked;
}

}  // namespace

bool InteractionDropDialogs::selectDirectory(DirectorySelector& selector) {
  ui::Choice choice;
  choice.caption = "Directory Selector";
  choice.text = selector.text();
  choice.items = selector.items();
  choice.initial = selector.selected < 0 ? 0 : selector.selected;
  for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
    std::optional<int> answer = ui_.choose(choice);
    if (!answer && selector.cancelEnabled()) return false;
    if (answer) {
      selector.selected = *answer;
      if (selector.choice()) return true;
    }
    ui_.beep();
  }
  return false;
}

bool InteractionDropDialogs::editFile(pages::CAddFileDlg& page) {
  for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
    ui::PageResult result = ui_.page(filePage(page));
    if (result.action == ui::PageResult::Action::Cancel) return false;
    readBack(page, result.fields);
    if (page.check().ok()) return true;
    ui_.beep();
  }
  return false;
}

}  // namespace vandrel::builder::dropimport
