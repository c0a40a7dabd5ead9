// The display labels of entries, built from the builder's strings.
#include "builder/model/script_doc.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder {

namespace {

std::string parentPrefix(int parent) { return strItem(sid::PredefinedDirPrefixes, parent + 1); }

std::string iniLabel(const IniRecord& e) {
  return strFormat(sid::LabelIniValue, strFormat(sid::LabelIniSection, e.section, e.entry),
                   e.value.empty() ? "NULL" : e.value);
}

std::string registryLabel(const RegistryRecord& e) {
  std::string key = "[" + strItem(sid::RegistryRootNames, e.root + 1) + "]\\" + e.subkey;
  return strFormat(sid::LabelIniValue,
                   strFormat(sid::LabelRegistryValue, key,
                             e.entry.empty() ? str(sid::DefaultValueLabel) : e.entry),
                   e.value);
}

}  // namespace

std::string CScriptDoc::destinationPath(const FileRecord& file) const {
  if (const DirectoryRecord* dir = directories.findEntry(file.directoryRef)) {
    return parentPrefix(dir->parent) + dir->name + "\\" + file.destName;
  }
  // A predefined directory: its prefix already ends in the backslash.
  return parentPrefix(file.predefinedDir) + file.destName;
}

std::string CScriptDoc::label(const Entry& entry) const {
  struct Visitor {
    const CScriptDoc& doc;
    std::string operator()(const DirectoryRecord& e) const {
      return strFormat(sid::LabelCreate, parentPrefix(e.parent) + e.name);
    }
    std::string operator()(const DescriptionRecord& e) const {
      return strFormat(sid::LabelPlain, e.text);
    }
    std::string operator()(const GroupRecord& e) const {
      return strFormat(sid::LabelCreateGroup, e.name);
    }
    std::string operator()(const IniRecord& e) const { return iniLabel(e); }
    std::string operator()(const RegistryRecord& e) const { return registryLabel(e); }
    std::string operator()(const FileRecord& e) const {
      std::string copied = strFormat(e.decompress ? sid::LabelFileExpanded : sid::LabelFileCopied,
                                     e.sourceName, decimal(e.disk));
      return strFormat(sid::LabelTo, copied, doc.destinationPath(e));
    }
    std::string operator()(const ShortcutRecord& e) const {
      const FileRecord* file = doc.files.findEntry(e.fileRef);
      const GroupRecord* group = doc.groups.findEntry(e.groupRef);
      std::string declared =
          strFormat(sid::LabelShortcut, file ? doc.destinationPath(*file) : str(sid::FileNotFound),
                    group ? group->name : str(sid::NoneLabel));
      return strFormat(sid::LabelAs, declared, e.name);
    }
    std::string operator()(const MessageRecord& e) const {
      return strFormat(sid::LabelMessage, decimal(e.disk), e.destName);
    }
  };
  return std::visit(Visitor{*this}, entry);
}

std::string CScriptDoc::label(int category, EntryKey key) const {
  std::optional<Entry> entry = entryCopy(category, key);
  return entry ? label(*entry) : std::string();
}

}  // namespace vandrel::builder
