// Page models as pages of the interaction port, and their fields read back.
#include "builder/app/port_dialogs.h"

#include <cstdlib>

#include "builder/assistants/assistants.h"
#include "builder/generate/builder_context.h"
#include "builder/generate/summary.h"
#include "builder/pages/end_pages.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder::app {

namespace {

using pages::EntryPage;

ui::Field text(const char* name, const char* label, const std::string& value) {
  ui::Field f;
  f.name = name;
  f.label = label;
  f.value = value;
  return f;
}

ui::Field check(const char* name, const char* label, bool checked) {
  ui::Field f = text(name, label, "");
  f.kind = ui::Field::Kind::Check;
  f.checked = checked;
  return f;
}

ui::Field radio(const char* name, const char* label, std::vector<std::string> items, int selected) {
  ui::Field f = text(name, label, "");
  f.kind = ui::Field::Kind::Radio;
  f.items = std::move(items);
  f.selected = selected;
  return f;
}

std::vector<std::string> texts(const std::vector<pages::EntryItem>& items, bool withNone) {
  std::vector<std::string> out;
  if (withNone) out.push_back("(none)");
  for (const pages::EntryItem& item : items) out.push_back(item.text);
  return out;
}

// The fields as the author left them, by name.
class Fields {
 public:
  explicit Fields(const std::vector<ui::Field>& fields) : fields_(fields) {}
  void get(const char* name, std::string& value) const {
    if (const ui::Field* f = find(name)) value = f->value;
  }
  void get(const char* name, bool& value) const {
    if (const ui::Field* f = find(name)) value = f->checked;
  }
  // A radio's selection, less offset (a leading "(none)" item).
  void choice(const char* name, int& value, int offset = 0) const {
    if (const ui::Field* f = find(name)) value = f->selected - offset;
  }
  // A number typed in a text field; text that is not a number gives fallback.
  void number(const char* name, int& value, int fallback) const {
    if (const ui::Field* f = find(name)) {
      char* end = nullptr;
      long n = std::strtol(f->value.c_str(), &end, 10);
      value = !f->value.empty() && end && *end == '\0' ? int(n) : fallback;
    }
  }

 private:
  const ui::Field* find(const char* name) const {
    for (const ui::Field& f : fields_) {
      if (f.name == name) return &f;
    }
    return nullptr;
  }
  const std::vector<ui::Field>& fields_;
};

ui::Page pageOf(const std::string& id, const std::string& caption, std::vector<ui::Field> fields) {
  ui::Page p;
  p.id = id;
  p.caption = caption;
  p.next.clear();
  p.finish = "OK";
  p.fields = std::move(fields);
  for (const ui::Field& f : p.fields) p.text += f.label + "\n";
  return p;
}

// Shows a page; false on Cancel, else the fields as left.
bool run(ui::Interaction& ui, const ui::Page& page, std::vector<ui::Field>& fields) {
  ui::PageResult result = ui.page(page);
  if (result.action == ui::PageResult::Action::Cancel) return false;
  fields = std::move(result.fields);
  return true;
}

struct EntryFields {
  platform::FileSystem& files;

  std::vector<ui::Field> operator()(const pages::CDirPropDlg& p) const {
    return {text("Name", "&Directory name:", p.name),
            radio("Parent", "&Parent directory:", pages::CDirPropDlg::parentChoices(), p.parent),
            check("Optional", "&Optional directory", p.optional),
            text("Description", "D&escription:", p.description)};
  }
  std::vector<ui::Field> operator()(const pages::CSetDescDlg& p) const {
    return {text("Text", "&Description:", p.text)};
  }
  std::vector<ui::Field> operator()(const pages::CGrpPropDlg& p) const {
    return {text("Name", "&Group name:", p.name)};
  }
  std::vector<ui::Field> operator()(const pages::CINIPropDlg& p) const {
    return {text("Section", "&Section:", p.section), text("Entry", "&Entry:", p.entry),
            text("Value", "&Value:", p.value)};
  }
  std::vector<ui::Field> operator()(const pages::CRegPropDlg& p) const {
    std::vector<std::string> keys = pages::CRegPropDlg::mainKeyChoices();
    return {radio("MainKey", "&Main key:", keys, std::max(0, pages::CRegPropDlg::rootOf(p.mainKey))),
            text("Subkey", "&Subkey:", p.subkey), text("Entry", "&Entry:", p.entry),
            text("Value", "&Value:", p.value),
            check("EraseWholeKey", "Erase the &whole key at uninstall", p.eraseWholeKey)};
  }
  std::vector<ui::Field> operator()(const pages::CAddFileDlg& p) const {
    return {text("Source", "&Source file:", p.sourceName.empty() ? "" : p.sourcePath + "\\" + p.sourceName),
            text("Disk", "&Source Disk:", decimal(p.disk)),
            text("DestName", "&Destination name:", p.destName),
            check("Uninstall", "&Uninstall this file", p.uninstall),
            check("ForceCopy", "&Force copy if file exists", p.forceCopy),
            check("Decompress", "LZ method Deco&mpress", p.decompress),
            check("Shared", "Declare as S&hared File", p.shared),
            radio("Directory", "Destination D&irectory:", p.directoryChoices(), p.directory),
            radio("Description", "File Des&cription:", texts(p.descriptions, true), p.description + 1)};
  }
  std::vector<ui::Field> operator()(const pages::CAddGroupDlg& p) const {
    return {radio("File", "&File:", texts(p.files, true), p.file + 1),
            radio("Group", "&Group:", texts(p.groups, true), p.group + 1),
            text("Name", "Shortcut &name:", p.name),
            text("CommandLine", "&Command line:", p.commandLine)};
  }
  std::vector<ui::Field> operator()(const pages::CMsgPropDlg& p) const {
    return {text("FilePath", "Message &file:", p.filePath.empty() ? "" : p.filePath),
            text("DestName", "&Destination name:", p.destName),
            text("Disk", "&Disk:", decimal(p.disk))};
  }
};

struct ReadBack {
  const Fields& f;
  platform::FileSystem& files;

  void operator()(pages::CDirPropDlg& p) const {
    f.get("Name", p.name);
    f.choice("Parent", p.parent);
    f.get("Optional", p.optional);
    f.get("Description", p.description);
  }
  void operator()(pages::CSetDescDlg& p) const { f.get("Text", p.text); }
  void operator()(pages::CGrpPropDlg& p) const { f.get("Name", p.name); }
  void operator()(pages::CINIPropDlg& p) const {
    f.get("Section", p.section);
    f.get("Entry", p.entry);
    f.get("Value", p.value);
  }
  void operator()(pages::CRegPropDlg& p) const {
    int root = 0;
    f.choice("MainKey", root);
    std::vector<std::string> keys = pages::CRegPropDlg::mainKeyChoices();
    if (root >= 0 && root < int(keys.size())) p.mainKey = keys[std::size_t(root)];
    f.get("Subkey", p.subkey);
    f.get("Entry", p.entry);
    f.get("Value", p.value);
    f.get("EraseWholeKey", p.eraseWholeKey);
  }
  void operator()(pages::CAddFileDlg& p) const {
    std::string source;
    f.get("Source", source);
    if (!source.empty() && source != p.sourcePath + "\\" + p.sourceName) {
      p.browse(source, std::int64_t(fileSize(files, source).value_or(0)));
    }
    f.number("Disk", p.disk, -1);
    f.get("DestName", p.destName);
    f.get("Uninstall", p.uninstall);
    f.get("ForceCopy", p.forceCopy);
    f.get("Decompress", p.decompress);
    f.get("Shared", p.shared);
    f.choice("Directory", p.directory);
    f.choice("Description", p.description, 1);
  }
  void operator()(pages::CAddGroupDlg& p) const {
    f.choice("File", p.file, 1);
    f.choice("Group", p.group, 1);
    f.get("Name", p.name);
    f.get("CommandLine", p.commandLine);
  }
  void operator()(pages::CMsgPropDlg& p) const {
    std::string path;
    f.get("FilePath", path);
    if (!path.empty() && path != p.filePath) p.browse(path);
    f.get("DestName", p.destName);
    f.number("Disk", p.disk, -1);
  }
};

const char* pageId(const EntryPage& page) {
  static const char* const kIds[] = {"directory", "description", "group", "win.ini",
                                     "registry",  "file",        "shortcut", "message"};
  return kIds[page.index()];
}

}  // namespace

bool PortEntryPageView::show(EntryPage& page, const std::string& caption) {
  std::vector<ui::Field> fields = std::visit(EntryFields{files_}, page);
  std::vector<ui::Field> result;
  if (!run(ui_, pageOf(pageId(page), caption, fields), result)) return false;
  Fields read(result);
  std::visit(ReadBack{read, files_}, page);
  return true;
}

bool showSettingsSheet(ui::Interaction& ui, ScriptTree& tree, int startPage,
                       pages::SettingsViewState& view) {
  pages::SettingsSheet sheet(tree, startPage);
  const char* const cpus[] = {"386", "486", "Pentium"};
  const char* const wins[] = {"3.1", "3.11", "Win32s", "95/98", "NT 3.51", "NT 4 and up"};
  std::vector<ui::Field> fields = {
      text("AppName", "&Application name:", sheet.general.appName),
      text("Ver", "&Version:", sheet.general.ver),
      text("Title", "&Title:", sheet.general.title),
      text("DefDir", "Default &directory:", sheet.general.defDir),
      check("ShowLicence", "Show the &licence", sheet.general.showLicence),
      check("RegInfo", "Ask for &registration", sheet.general.regInfo),
      radio("MinCpu", "Minimum &processor:", {cpus, cpus + 3}, sheet.system.minCpu),
      radio("MinWin", "Minimum &Windows:", {wins, wins + 6}, sheet.system.minWin),
      text("UnDesc", "Uninstaller shortcut &name:", sheet.uninstall.unDesc)};
  const char* const pageNames[] = {"settings-general", "settings-system", "settings-uninstall"};
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::vector<ui::Field> result;
    if (!run(ui, pageOf(pageNames[sheet.startPage()], str(sid::SettingsCaption), fields), result)) {
      return false;
    }
    Fields f(result);
    f.get("AppName", sheet.general.appName);
    f.get("Ver", sheet.general.ver);
    f.get("Title", sheet.general.title);
    f.get("DefDir", sheet.general.defDir);
    f.get("ShowLicence", sheet.general.showLicence);
    f.get("RegInfo", sheet.general.regInfo);
    f.choice("MinCpu", sheet.system.minCpu);
    f.choice("MinWin", sheet.system.minWin);
    f.get("UnDesc", sheet.uninstall.unDesc);
    if (sheet.ok(ui, view)) return true;
    fields = std::move(result);
    ui.beep();
  }
  return false;
}

bool showBackgroundPage(ui::Interaction& ui, ScriptTree& tree) {
  pages::SetBackDlg page;
  page.fill(tree.document().background);
  const char* const modes[] = {"Centered", "Stretched", "Mosaic", "Centered Mosaic", "All Screen"};
  std::vector<ui::Field> result;
  if (!run(ui,
           pageOf("background", "Background",
                  {radio("Gradient", "Background:", {"One Color", "Gradient fill"}, page.gradient),
                   radio("Vertical", "Gradient:", {"Horizontal", "Vertical"}, page.vert),
                   check("Bitmap", "&Show a bitmap picture", page.bitmap),
                   text("BmpName", "Bitmap &name:", page.bmpName),
                   radio("BmpMode", "Drawing:", {modes, modes + 5}, page.bmpMode),
                   check("Caption", "Show the &caption", page.caption)}),
           result)) {
    return false;
  }
  Fields f(result);
  f.choice("Gradient", page.gradient);
  f.choice("Vertical", page.vert);
  f.get("Bitmap", page.bitmap);
  f.get("BmpName", page.bmpName);
  f.choice("BmpMode", page.bmpMode);
  f.get("Caption", page.caption);
  page.ok(tree.document());
  return true;
}

bool showEndSheet(ui::Interaction& ui, ScriptTree& tree) {
  pages::EndSheet sheet(tree.document());
  std::vector<ui::Field> fields = {
      radio("Reboot", "Restart at the end:", {"No", "Computer", "Windows"}, sheet.end.reboot)};
  const char* const names[] = {"Launch1", "Launch2", "Launch3", "Launch4"};
  for (int i = 0; i < 4; ++i) {
    fields.push_back(text(names[i], "&Command line:",
                          i < int(sheet.end.launch.size()) ? sheet.end.launch[std::size_t(i)] : ""));
  }
  std::vector<ui::Field> result;
  if (!run(ui, pageOf("end", "End of Install", fields), result)) return false;
  Fields f(result);
  f.choice("Reboot", sheet.end.reboot);
  sheet.end.launch.clear();
  for (const char* name : names) {
    std::string line;
    f.get(name, line);
    if (!line.empty()) sheet.end.launch.push_back(line);
  }
  sheet.ok(tree.document());
  return true;
}

namespace {

// An assistant's page until its check passes (three tries) or Cancel.
template <typename Model, typename Show, typename Read>
bool runAssistant(ui::Interaction& ui, ScriptTree& tree, const BuilderPreferences& prefs,
                  int number, Model& model, Show show, Read read) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::vector<ui::Field> result;
    if (!run(ui, pageOf("assistant-" + std::to_string(number), assistants::assistantTitle(number),
                        show(model)),
             result)) {
      return false;
    }
    read(Fields(result), model);
    pages::Check check = model.check();
    if (check.ok()) return !model.ok(tree, prefs).empty();
    pages::showRefusal(ui, check);
  }
  return false;
}

ui::Field programField(const char* name, const char* label,
                       const std::vector<pages::EntryItem>& files, const assistants::ProgramField& p) {
  ui::Field f = radio(name, label, texts(files, true), p.file + 1);
  f.value = p.text;
  return f;
}

void readProgram(const Fields& f, const char* name, const char* typed,
                 assistants::ProgramField& p) {
  f.choice(name, p.file, 1);
  f.get(typed, p.text);
}

}  // namespace

bool showAssistant(ui::Interaction& ui, ScriptTree& tree, const BuilderPreferences& prefs,
                   int number) {
  using namespace assistants;
  switch (number) {
    case 1: {
      ExtensionAssistant a;
      return runAssistant(
          ui, tree, prefs, number, a,
          [](const ExtensionAssistant& m) {
            return std::vector<ui::Field>{
                text("Extension", "&Extension:", m.extension), text("FileType", "File &type:", m.fileType),
                check("UseRegistry", "Use the &registry", m.useRegistry),
                check("UseIni", "Use &Win.ini", m.useIni), text("ProgramPath", "&Program:", m.programPath),
                check("NewDocument", "&New document", m.newDocument)};
          },
          [](const Fields& f, ExtensionAssistant& m) {
            f.get("Extension", m.extension);
            f.get("FileType", m.fileType);
            f.get("UseRegistry", m.useRegistry);
            f.get("UseIni", m.useIni);
            f.get("ProgramPath", m.programPath);
            f.get("NewDocument", m.newDocument);
          });
    }
    case 2: {
      AutostartAssistant a(tree);
      return runAssistant(
          ui, tree, prefs, number, a,
          [](const AutostartAssistant& m) {
            return std::vector<ui::Field>{
                programField("Program", "&Program:", m.files, m.program),
                text("ProgramText", "or &typed:", m.program.text), text("Title", "&Title:", m.title),
                check("EachTime", "Start it &EACH time", m.eachTime),
                check("AddShortcut", "Add a &shortcut", m.addShortcut)};
          },
          [](const Fields& f, AutostartAssistant& m) {
            readProgram(f, "Program", "ProgramText", m.program);
            f.get("Title", m.title);
            f.get("EachTime", m.eachTime);
            f.get("AddShortcut", m.addShortcut);
          });
    }
    case 3: {
      PathAssistant a(tree);
      std::vector<ui::Field> result;
      if (!run(ui, pageOf("assistant-3", assistantTitle(3),
                          {radio("File", "&Program:", texts(a.files, true), 0)}),
               result)) {
        a.close(prefs);
        return false;
      }
      Fields(result).choice("File", a.selected, 1);
      a.addNow(ui);
      a.close(prefs);
      return !a.added().empty();
    }
    case 4: {
      ProductAssistant a(tree.document());
      return runAssistant(
          ui, tree, prefs, number, a,
          [](const ProductAssistant& m) {
            return std::vector<ui::Field>{
                text("Company", "&Company:", m.company), text("Product", "&Product:", m.product),
                text("Version", "&Version:", m.version),
                check("LocalMachine", "HKEY_&LOCAL_MACHINE", m.localMachine),
                check("CurrentUser", "HKEY_CURRENT_&USER", m.currentUser),
                check("UserInfo", "User &information", m.userInfo), check("Serial", "&Serial", m.serial)};
          },
          [](const Fields& f, ProductAssistant& m) {
            f.get("Company", m.company);
            f.get("Product", m.product);
            f.get("Version", m.version);
            f.get("LocalMachine", m.localMachine);
            f.get("CurrentUser", m.currentUser);
            f.get("UserInfo", m.userInfo);
            f.get("Serial", m.serial);
          });
    }
    case 5: {
      DesktopAssistant a(tree);
      return runAssistant(
          ui, tree, prefs, number, a,
          [](const DesktopAssistant& m) {
            return std::vector<ui::Field>{
                programField("Wallpaper", "&Wallpaper:", m.files, m.wallpaper),
                text("WallpaperText", "or &typed:", m.wallpaper.text),
                programField("ScreenSaver", "&Screen saver:", m.files, m.screenSaver),
                text("ScreenSaverText", "or t&yped:", m.screenSaver.text),
                text("Delay", "&Delay (seconds):", decimal(m.delay)),
                check("Activate", "&Activate", m.activate), check("Secure", "S&ecure", m.secure),
                check("DragFullWindows", "Drag &full windows", m.dragFullWindows),
                check("Tile", "&Tile the wallpaper", m.tile)};
          },
          [](const Fields& f, DesktopAssistant& m) {
            readProgram(f, "Wallpaper", "WallpaperText", m.wallpaper);
            readProgram(f, "ScreenSaver", "ScreenSaverText", m.screenSaver);
            f.number("Delay", m.delay, 0);
            f.get("Activate", m.activate);
            f.get("Secure", m.secure);
            f.get("DragFullWindows", m.dragFullWindows);
            f.get("Tile", m.tile);
          });
    }
    default:
      return false;
  }
}

bool showSummarySheet(ui::Interaction& ui, ScriptTree& tree, platform::FileSystem& files) {
  SummaryPage page = summaryPage(tree.document(), files);
  ui::Page p = pageOf("summary", "Summary",
                      {text("Subject", "&Subject:", page.subject),
                       text("Template", "&Template:", page.templateName),
                       text("Author", "&Author:", page.author)});
  p.text = "Script for: " + page.scriptFor + "\nVersion: " + page.version + "\nCreated: " +
           page.created + "\nModified: " + page.modified + "\n" + page.comments + "\n" + p.text;
  std::vector<ui::Field> result;
  if (!run(ui, p, result)) return false;
  Fields f(result);
  f.get("Subject", page.subject);
  f.get("Template", page.templateName);
  f.get("Author", page.author);
  applySummaryPage(tree.document(), page);
  return true;
}

}  // namespace vandrel::builder::app
