// The display labels of entries, built from the builder's strings.
#include "builder/model/script_doc.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder {

namespace {

std::string parentPrefix(int parent) { return strItem(146, parent + 1); }

std::string iniLabel(const IniEntry& e) {
  return strFormat(137, strFormat(147, e.section, e.entry), e.value.empty() ? "NULL" : e.value);
}

std::string registryLabel(const RegistryEntry& e) {
  std::string key = "[" + strItem(148, e.root + 1) + "]\\" + e.subkey;
  return strFormat(137, strFormat(138, key, e.entry.empty() ? str(170) : e.entry), e.value);
}

}  // namespace

std::string CScriptDoc::destinationPath(const FileEntry& file) const {
  if (const DirectoryEntry* dir = directories.findEntry(file.directoryRef)) {
    return parentPrefix(dir->parent) + dir->name + "\\" + file.destName;
  }
  // A predefined directory: its prefix already ends in the backslash.
  return parentPrefix(file.predefinedDir) + file.destName;
}

std::string CScriptDoc::label(const Entry& entry) const {
  struct Visitor {
    const CScriptDoc& doc;
    std::string operator()(const DirectoryEntry& e) const {
      return strFormat(134, parentPrefix(e.parent) + e.name);
    }
    std::string operator()(const DescriptionEntry& e) const { return strFormat(135, e.text); }
    std::string operator()(const GroupEntry& e) const { return strFormat(136, e.name); }
    std::string operator()(const IniEntry& e) const { return iniLabel(e); }
    std::string operator()(const RegistryEntry& e) const { return registryLabel(e); }
    std::string operator()(const FileEntry& e) const {
      std::string copied = strFormat(e.decompress ? 140 : 139, e.sourceName, decimal(e.disk));
      return strFormat(157, copied, doc.destinationPath(e));
    }
    std::string operator()(const ShortcutEntry& e) const {
      const FileEntry* file = doc.files.findEntry(e.fileRef);
      const GroupEntry* group = doc.groups.findEntry(e.groupRef);
      std::string declared = strFormat(141, file ? doc.destinationPath(*file) : str(238),
                                       group ? group->name : str(162));
      return strFormat(161, declared, e.name);
    }
    std::string operator()(const MessageEntry& e) const {
      return strFormat(142, decimal(e.disk), e.destName);
    }
  };
  return std::visit(Visitor{*this}, entry);
}

std::string CScriptDoc::label(int category, EntryKey key) const {
  std::optional<Entry> entry = entryCopy(category, key);
  return entry ? label(*entry) : std::string();
}

}  // namespace vandrel::builder
