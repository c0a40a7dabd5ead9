// Script.vrx from a document: header, settings, background, owner, the counted entry
// sections numbered in the entry order, [End] and [Web].
#include "builder/generate/script_writer.h"

#include <unordered_map>

#include "builder/codec/document_io.h"
#include "builder/codec/document_text.h"
#include "builder/codec/text_fields.h"
#include "builder/generate/engine_files.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder {

namespace {

using script::oneLine;
using script::Section;

constexpr int kSettingsWritten = 13;  // AppName to nCompil
constexpr int kSettingsMinCpu = 10;
constexpr int kSettingsMinWin = 11;

// Positions of one category's entries in the entry order, with the rule for references that
// designate no entry: the last position, or -1 for an empty category.
class Positions {
 public:
  Positions(const EntryOrder& order, int category) : order_(order.of(category)) {
    index_.reserve(order_.size());
    for (std::size_t i = 0; i < order_.size(); ++i) index_.emplace(order_[i], int(i));
  }
  const std::vector<EntryKey>& order() const { return order_; }
  int count() const { return int(order_.size()); }
  std::optional<int> find(EntryKey key) const {
    auto it = key == 0 ? index_.end() : index_.find(key);
    if (it == index_.end()) return std::nullopt;
    return it->second;
  }
  int reference(EntryKey key) const { return find(key).value_or(count() - 1); }

 private:
  std::vector<EntryKey> order_;
  std::unordered_map<EntryKey, int> index_;
};

struct ScriptBuilder {
  const CScriptDoc& doc;
  const EntryOrder& entryOrder;
  std::int64_t uninstallerSize;
  std::string out;
  Positions dirs{entryOrder, category::Directories};
  Positions descs{entryOrder, category::Descriptions};
  Positions groups{entryOrder, category::Groups};
  int n = dirs.count();
  bool builtInUninstaller = doc.settings.ownUnInstall == 0;

  void line(const std::string& key, const std::string& value) { out += key + "=" + value + "\n"; }
  void header(Section section) { out += "\n[" + script::sectionName(section) + "]\n"; }
  void header(int category) { header(sectionOf(category)); }
  void count(int category, int value) { line(script::countKey(sectionOf(category)), decimal(value)); }

  int directoryNumber(const FileRecord& file) const {
    if (file.directoryRef != 0) return dirs.reference(file.directoryRef);
    return n + file.predefinedDir;
  }

  void settings() {
    const ScriptSettings& s = doc.settings;
    out += "[" + script::sectionName(Section::Settings) + "]\n";
    const auto& keys = settingsKeys();
    for (int i = 0; i < kSettingsWritten; ++i) {
      const KeyField<ScriptSettings>& key = keys[std::size_t(i)];
      std::string value;
      if (i == kSettingsMinCpu)
        value = s.minCpu >= 0 && s.minCpu <= 2 ? strItem(sid::CpuNames, s.minCpu + 1) : "486";
      else if (i == kSettingsMinWin)
        value = s.minWin >= 0 && s.minWin <= 5 ? strItem(sid::WindowsNames, s.minWin + 1) : "95";
      else if (key.text) value = oneLine(s.*(key.text));
      else value = decimal(s.*(key.number));
      line(key.name, value);
    }
  }

  void directories() {
    header(category::Directories);
    count(category::Directories, n + 4);
    int number = 0;
    for (EntryKey key : dirs.order()) {
      const DirectoryRecord& d = *doc.directories.findEntry(key);
      line(decimal(number++), script::entryValue(script::DirectoryEntry{
                                  d.name, decimal(d.parent), decimal(d.optional), d.description}));
    }
    // The four fixed folders: an empty path below each root, not optional, no label.
    for (int root = 0; root < 4; ++root) {
      line(decimal(n + root), script::entryValue(script::DirectoryEntry{"", decimal(root), "0", ""}));
    }
  }

  template <typename T, typename F>
  void plainSection(int category, const EntryList<T>& list, F fields) {
    Positions order(entryOrder, category);
    header(category);
    count(category, order.count());
    int number = 0;
    for (EntryKey key : order.order()) line(decimal(number++), fields(*list.findEntry(key)));
  }

  // What Apps & features shows of the package besides its name and uninstall command: the
  // version, the publisher (the document's author) and the uninstaller's icon. String values
  // all, removed with the name; after the two registrations, which stay as they are.
  std::vector<std::pair<std::string, std::string>> programListValues() const {
    std::vector<std::pair<std::string, std::string>> values;
    if (!builtInUninstaller || doc.settings.nSyst == 0) return values;
    if (!doc.settings.ver.empty()) values.emplace_back("DisplayVersion", doc.settings.ver);
    if (!doc.properties.author.empty()) values.emplace_back("Publisher", doc.properties.author);
    values.emplace_back("DisplayIcon",
                        "[" + decimal(n + 3) + "]\\" + strItem(sid::UninstallerFiles, 8));
    return values;
  }

  void registry() {
    Positions order(entryOrder, category::Registry);
    header(category::Registry);
    const auto extra = programListValues();
    count(category::Registry, order.count() + (builtInUninstaller ? 2 : 0) + int(extra.size()));
    int number = 0;
    for (EntryKey key : order.order()) {
      const RegistryRecord& r = *doc.registryEntries.findEntry(key);
      line(decimal(number++), script::entryValue(script::RegistryEntry{
                                  decimal(r.root), r.subkey, r.entry, r.value, decimal(r.removal)}));
    }
    // A 16-bit-only package has no registry: the registrations are counted but not written.
    if (!builtInUninstaller || doc.settings.nSyst == 0) return;
    std::string name = doc.settings.appName + " " + doc.settings.ver;
    std::string subkey = strItem(sid::UninstallRegistration, 1) + name;
    line(decimal(number++), script::entryValue(script::RegistryEntry{
                                "2", subkey, strItem(sid::UninstallRegistration, 2), name, "1"}));
    std::string command =
        "[" + decimal(n + 3) + "]\\" + strItem(sid::UninstallerFiles, 8) + " [" + decimal(n) + "]";
    line(decimal(number++), script::entryValue(script::RegistryEntry{
                              "2", subkey, strItem(sid::UninstallRegistration, 3), command, "0"}));
    for (const auto& [value, data] : extra) {
      line(decimal(number++), script::entryValue(script::RegistryEntry{"2", subkey, value, data, "1"}));
    }
  }

  void files() {
    Positions order(entryOrder, category::Files);
    header(category::Files);
    count(category::Files, order.count() + (builtInUninstaller ? 1 : 0));
    int number = 0;
    if (builtInUninstaller) {
      // On disk 1, the engine's description, kept at removal, forced, expanded, for all
      // platforms, not shared.
      UninstallerFiles un = uninstallerFiles(doc.settings);
      line(decimal(number++),
           script::entryValue(script::FileEntry{un.onDisk, un.installed, decimal(n + 3), "1",
                                                "1000", "0", "1", "1", decimal(uninstallerSize),
                                                "0", "0"}));
    }
    for (EntryKey key : order.order()) {
      const FileRecord& f = *doc.files.findEntry(key);
      script::FileEntry e;
      e.source = f.sourceName;
      e.target = f.destName;
      e.dir = decimal(directoryNumber(f));
      e.disk = decimal(f.disk);
      e.desc = decimal(descs.reference(f.descriptionRef));
      e.uninstall = decimal(f.uninstall);
      e.force = decimal(f.forceCopy);
      e.expand = decimal(f.decompress);
      e.size = decimal(f.size);
      e.platform = decimal(f.platform);
      e.shared = decimal(f.shared);
      line(decimal(number++), script::entryValue(e));
    }
  }

  void shortcuts() {
    Positions order(entryOrder, category::ProgramAdds);
    header(category::ProgramAdds);
    count(category::ProgramAdds, order.count() + (builtInUninstaller ? 1 : 0));
    int number = 0;
    if (builtInUninstaller) {
      // The group chosen, else the first group declared (the callers store that choice).
      int group = groups.find(doc.uninstallerGroup()).value_or(-1);
      std::string name = doc.uninstallName();
      while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
      line(decimal(number++),
           script::entryValue(script::ShortcutEntry{uninstallerFiles(doc.settings).installed,
                                                    decimal(n + 3), decimal(group), name,
                                                    "[" + decimal(n) + "]", "0"}));
    }
    for (EntryKey key : order.order()) {
      const ShortcutRecord& s = *doc.shortcuts.findEntry(key);
      int thisNumber = number++;
      const FileRecord* file = doc.files.findEntry(s.fileRef);
      if (!file) continue;  // no line, but the number is used up
      line(decimal(thisNumber),
           script::entryValue(script::ShortcutEntry{
               file->destName, decimal(directoryNumber(*file)),
               decimal(groups.reference(s.groupRef)), s.name, s.commandLine,
               decimal(file->platform)}));
    }
  }

  void messages() {
    Positions order(entryOrder, category::Messages);
    header(category::Messages);
    count(category::Messages, order.count());
    for (EntryKey key : order.order()) {
      const MessageRecord& m = *doc.messages.findEntry(key);
      line(decimal(m.disk), oneLine(m.destName));
    }
  }

  void build() {
    out = str(sid::ScriptHeader);
    settings();
    for (Section section : {Section::Background, Section::Owner}) {
      header(section);
      out += sectionText(doc, section);
    }
    directories();
    plainSection(category::Descriptions, doc.descriptions,
                 [](const DescriptionRecord& e) { return oneLine(e.text); });
    plainSection(category::Groups, doc.groups, [](const GroupRecord& e) { return oneLine(e.name); });
    plainSection(category::WinIni, doc.iniEntries,
                 [](const IniRecord& e) {
                   return script::entryValue(script::IniEntry{e.section, e.entry, e.value});
                 });
    registry();
    files();
    shortcuts();
    messages();
    for (Section section : {Section::End, Section::Web}) {
      header(section);
      out += sectionText(doc, section);
    }
  }
};

std::string crlf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

std::string scriptText(const CScriptDoc& doc, const EntryOrder& order,
                       std::int64_t uninstallerSize) {
  ScriptBuilder builder{doc, order, uninstallerSize, {}};
  builder.build();
  return crlf(builder.out);
}

bool writeScript(const CScriptDoc& doc, const EntryOrder& order, BuilderContext& context,
                 const std::string& path) {
  UninstallerFiles un = uninstallerFiles(doc.settings);
  std::optional<std::uint64_t> size =
      fileSize(context.files, joinPath(context.programFolder, un.source));
  std::string text = scriptText(doc, order, size ? std::int64_t(*size) : 0);
  // Written beside the script and put in its place once whole: a failed write never leaves a
  // package with a cut script.
  std::string fresh = path + ".partial";
  std::unique_ptr<platform::File> file = context.files.create(fresh);
  bool created = file != nullptr;
  bool written = created && file->write(text.data(), text.size()) == std::int64_t(text.size());
  file.reset();
  std::string problem;
  if (!created) {
    problem = path + ": the file cannot be created";
  } else if (!written) {
    problem = path + ": the file could not be written whole (is the disk full?)";
  } else if (!fileSize(context.files, path)) {
    if (!context.files.moveFile(fresh, path)) problem = path + ": the file cannot be created";
  } else if (!context.files.replaceFile(fresh, path) &&
             !(context.files.deleteFile(path) && context.files.moveFile(fresh, path))) {
    problem = path + ": the file there cannot be replaced (read-only or in use)";
  }
  if (problem.empty()) return true;
  context.files.deleteFile(fresh);
  stopMessage(context.ui, str(sid::SaveFailed), problem);
  return false;
}

}  // namespace vandrel::builder
