// Script.vrx from a document: header, settings, background, owner, the counted entry
// sections numbered in tree order, [End] and [Web].
#include "builder/generate/script_writer.h"

#include <unordered_map>

#include "builder/document/document_io.h"
#include "builder/document/document_text.h"
#include "builder/document/text_fields.h"
#include "builder/generate/engine_files.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder {

namespace {

constexpr int kSettingsWritten = 13;  // AppName to nCompil
constexpr int kSettingsMinCpu = 10;
constexpr int kSettingsMinWin = 11;

// A line break inside a value would end the line early; it is written as a blank.
std::string oneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

std::string join(std::initializer_list<std::string> fields) {
  std::string out;
  bool first = true;
  for (const std::string& field : fields) {
    if (!first) out += ',';
    first = false;
    out += oneLine(field);
  }
  return out;
}

// Positions of one category's entries in tree order, with the rule for references that
// designate no entry: the last position, or -1 for an empty category.
class Positions {
 public:
  Positions(const ScriptTree& tree, int category)
      : order_(tree.orderedKeys(category)), index_(tree.positions(category)) {}
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
  CScriptDoc& doc;
  const ScriptTree& tree;
  std::int64_t uninstallerSize;
  std::string out;
  Positions dirs{tree, category::Directories};
  Positions descs{tree, category::Descriptions};
  Positions groups{tree, category::Groups};
  int n = dirs.count();
  bool builtInUninstaller = doc.settings.ownUnInstall == 0;

  void line(const std::string& key, const std::string& value) { out += key + "=" + value + "\n"; }
  void header(const std::string& name) { out += "\n[" + name + "]\n"; }
  void count(int category, int value) {
    line(strItem(303, category - kFirstEntryCategory + 1), decimal(value));
  }

  int directoryNumber(const FileEntry& file) const {
    if (file.directoryRef != 0) return dirs.reference(file.directoryRef);
    return n + file.predefinedDir;
  }

  void settings() {
    const ScriptSettings& s = doc.settings;
    out += "[Settings]\n";
    const auto& keys = settingsKeys();
    for (int i = 0; i < kSettingsWritten; ++i) {
      const KeyField<ScriptSettings>& key = keys[std::size_t(i)];
      std::string value;
      if (i == kSettingsMinCpu) value = s.minCpu >= 0 && s.minCpu <= 2 ? strItem(300, s.minCpu + 1) : "486";
      else if (i == kSettingsMinWin) value = s.minWin >= 0 && s.minWin <= 5 ? strItem(301, s.minWin + 1) : "95";
      else if (key.text) value = oneLine(s.*(key.text));
      else value = decimal(s.*(key.number));
      line(key.name, value);
    }
  }

  void directories() {
    header(strItem(163, category::Directories));
    count(category::Directories, n + 4);
    int number = 0;
    for (EntryKey key : dirs.order()) {
      const DirectoryEntry& d = *doc.directories.findEntry(key);
      line(decimal(number++), join({d.name, decimal(d.parent), decimal(d.optional), d.description}));
    }
    for (int root = 0; root < 4; ++root) line(decimal(n + root), "," + decimal(root) + ",0,");
  }

  template <typename T, typename F>
  void plainSection(int category, const EntryList<T>& list, F fields) {
    Positions order(tree, category);
    header(strItem(163, category));
    count(category, order.count());
    int number = 0;
    for (EntryKey key : order.order()) line(decimal(number++), fields(*list.findEntry(key)));
  }

  void registry() {
    Positions order(tree, category::Registry);
    header(strItem(163, category::Registry));
    count(category::Registry, order.count() + (builtInUninstaller ? 2 : 0));
    int number = 0;
    for (EntryKey key : order.order()) {
      const RegistryEntry& r = *doc.registryEntries.findEntry(key);
      line(decimal(number++), join({decimal(r.root), r.subkey, r.entry, r.value, decimal(r.removal)}));
    }
    // A 16-bit-only package has no registry: the registrations are counted but not written.
    if (!builtInUninstaller || doc.settings.nSyst == 0) return;
    std::string name = doc.settings.appName + " " + doc.settings.ver;
    std::string subkey = strItem(239, 1) + name;
    line(decimal(number++), join({"2", subkey, strItem(239, 2), name, "1"}));
    std::string command = "[" + decimal(n + 3) + "]\\" + strItem(236, 8) + " [" + decimal(n) + "]";
    line(decimal(number), join({"2", subkey, strItem(239, 3), command, "0"}));
  }

  void files() {
    Positions order(tree, category::Files);
    header(strItem(163, category::Files));
    count(category::Files, order.count() + (builtInUninstaller ? 1 : 0));
    int number = 0;
    if (builtInUninstaller) {
      UninstallerFiles un = uninstallerFiles(doc.settings);
      line(decimal(number++), un.onDisk + "," + un.installed + "," + decimal(n + 3) +
                                  ",1,1000,0,1,1," + decimal(uninstallerSize) + ",0,0");
    }
    for (EntryKey key : order.order()) {
      const FileEntry& f = *doc.files.findEntry(key);
      line(decimal(number++),
           join({f.sourceName, f.destName, decimal(directoryNumber(f)), decimal(f.disk),
                 decimal(descs.reference(f.descriptionRef)), decimal(f.uninstall),
                 decimal(f.forceCopy), decimal(f.decompress), decimal(f.size),
                 decimal(f.platform), decimal(f.shared)}));
    }
  }

  // The group of the uninstaller's shortcut: the one chosen, else the first group declared,
  // which then becomes the document's choice.
  int uninstallGroupPosition() {
    if (auto pos = groups.find(doc.uninstall.groupKey)) return *pos;
    if (doc.groups.empty()) return -1;
    doc.uninstall.groupKey = doc.groups.at(0).key;
    doc.setModifiedFlag();
    return groups.find(doc.uninstall.groupKey).value_or(-1);
  }

  void shortcuts() {
    Positions order(tree, category::ProgramAdds);
    header(strItem(163, category::ProgramAdds));
    count(category::ProgramAdds, order.count() + (builtInUninstaller ? 1 : 0));
    int number = 0;
    if (builtInUninstaller) {
      int group = uninstallGroupPosition();
      doc.prepareUninstallSection();
      std::string name = doc.uninstall.unDesc;
      while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
      line(decimal(number++), join({uninstallerFiles(doc.settings).installed, decimal(n + 3),
                                    decimal(group), name,
                                    "[" + decimal(n) + "]", "0"}));
    }
    for (EntryKey key : order.order()) {
      const ShortcutEntry& s = *doc.shortcuts.findEntry(key);
      int thisNumber = number++;
      const FileEntry* file = doc.files.findEntry(s.fileRef);
      if (!file) continue;  // no line, but the number is used up
      line(decimal(thisNumber),
           join({file->destName, decimal(directoryNumber(*file)),
                 decimal(groups.reference(s.groupRef)), s.name, s.commandLine,
                 decimal(file->platform)}));
    }
  }

  void messages() {
    Positions order(tree, category::Messages);
    header(strItem(163, category::Messages));
    count(category::Messages, order.count());
    for (EntryKey key : order.order()) {
      const MessageEntry& m = *doc.messages.findEntry(key);
      line(decimal(m.disk), oneLine(m.destName));
    }
  }

  void build() {
    out = str(302);
    settings();
    header(strItem(163, section::Background));
    out += sectionText(doc, section::Background);
    header(strItem(163, section::Owner));
    out += sectionText(doc, section::Owner);
    directories();
    plainSection(category::Descriptions, doc.descriptions,
                 [](const DescriptionEntry& e) { return oneLine(e.text); });
    plainSection(category::Groups, doc.groups, [](const GroupEntry& e) { return oneLine(e.name); });
    plainSection(category::WinIni, doc.iniEntries,
                 [](const IniEntry& e) { return join({e.section, e.entry, e.value}); });
    registry();
    files();
    shortcuts();
    messages();
    header(strItem(163, section::End));
    out += sectionText(doc, section::End);
    header(strItem(163, section::Web));
    out += sectionText(doc, section::Web);
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

std::string scriptText(CScriptDoc& doc, const ScriptTree& tree, std::int64_t uninstallerSize) {
  ScriptBuilder builder{doc, tree, uninstallerSize, {}};
  builder.build();
  return crlf(builder.out);
}

bool writeScript(CScriptDoc& doc, const ScriptTree& tree, BuilderContext& context,
                 const std::string& path) {
  UninstallerFiles un = uninstallerFiles(doc.settings);
  std::optional<std::uint64_t> size =
      fileSize(context.files, joinPath(context.programFolder, un.source));
  std::string text = scriptText(doc, tree, size ? std::int64_t(*size) : 0);
  std::unique_ptr<platform::File> file = context.files.create(path);
  bool written = file && file->write(text.data(), text.size()) == std::int64_t(text.size());
  file.reset();
  if (!written) stopMessage(context.ui, str(184));
  return written;
}

}  // namespace vandrel::builder
