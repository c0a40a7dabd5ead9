// Writing the document text form: header, setting sections, entry sections, [End], [Web].
#include "builder/document/document_text.h"

#include <cstdio>

#include "builder/document/text_fields.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder {

const std::vector<KeyField<ScriptSettings>>& settingsKeys() {
  using S = ScriptSettings;
  static const std::vector<KeyField<S>> keys{
      textKey("AppName", &S::appName),       textKey("Ver", &S::ver),
      textKey("Title", &S::title),           textKey("LoadTxt", &S::loadTxt),
      textKey("LoadBmp", &S::loadBmp),       textKey("DefDir", &S::defDir),
      numberKey("ShowLicence", &S::showLicence), numberKey("Type", &S::type),
      numberKey("RegInfo", &S::regInfo),     textKey("OwnMsg", &S::ownMsg),
      numberKey("minCpu", &S::minCpu),       numberKey("minWin", &S::minWin),
      numberKey("nCompil", &S::nCompil),     numberKey("nSyst", &S::nSyst),
      numberKey("OwnUnInstall", &S::ownUnInstall), numberKey("ArchiveSize", &S::archiveSize),
      numberKey("Language", &S::language),   textKey("LastGenPath", &S::lastGenPath),
  };
  return keys;
}

const std::vector<KeyField<BackgroundSettings>>& backgroundKeys() {
  using S = BackgroundSettings;
  static const std::vector<KeyField<S>> keys{
      numberKey("Gradient", &S::gradient), numberKey("Vert", &S::vert),
      numberKey("Bitmap", &S::bitmap),     textKey("BmpName", &S::bmpName),
      numberKey("BmpMode", &S::bmpMode),   numberKey("Caption", &S::caption),
      colourKey("Top", &S::top),           colourKey("Bottom", &S::bottom),
  };
  return keys;
}

const std::vector<KeyField<DocumentProperties>>& ownerKeys() {
  using S = DocumentProperties;
  static const std::vector<KeyField<S>> keys{
      textKey("Author", &S::author), textKey("Subject", &S::subject),
      textKey("Template", &S::templateName)};
  return keys;
}

namespace {

// A line break inside a value would end its line early and let the rest be read as a line
// of its own (even as a section line), so breaks are written as blanks.
std::string oneLine(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return out;
}

std::string colourText(std::uint32_t colour) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08x", unsigned(colour));
  return buffer;
}

template <typename S>
std::string keyLines(const S& group, const std::vector<KeyField<S>>& keys) {
  std::string out;
  for (const KeyField<S>& key : keys) {
    out += key.name;
    out += '=';
    if (key.text) out += oneLine(group.*(key.text));
    else if (key.number) out += decimal(group.*(key.number));
    else out += colourText(group.*(key.colour));
    out += '\n';
  }
  return out;
}

// A reference as the index of its entry in its list, -1 when it is 0 or unresolved.
std::string ref(const CScriptDoc& doc, int category, EntryKey key) {
  return decimal(doc.findEntry(category, key));
}

std::string join(std::initializer_list<std::string> fields) {
  std::string out;
  for (const std::string& field : fields) {
    if (!out.empty() || &field != fields.begin()) out += ',';
    out += oneLine(field);
  }
  return out;
}

std::string entryFields(const CScriptDoc& doc, const EntryRef& entry) {
  struct Visitor {
    const CScriptDoc& doc;
    std::string operator()(const DirectoryEntry* e) const {
      return join({e->name, decimal(e->parent), decimal(e->optional), e->description});
    }
    std::string operator()(const DescriptionEntry* e) const { return oneLine(e->text); }
    std::string operator()(const GroupEntry* e) const { return oneLine(e->name); }
    std::string operator()(const IniEntry* e) const { return join({e->section, e->entry, e->value}); }
    std::string operator()(const RegistryEntry* e) const {
      return join({decimal(e->root), e->subkey, e->entry, e->value, decimal(e->removal)});
    }
    std::string operator()(const FileEntry* e) const {
      return join({e->sourceName, e->destName, decimal(e->disk), decimal(e->uninstall),
                   decimal(e->forceCopy), decimal(e->decompress), decimal(e->size),
                   ref(doc, category::Directories, e->directoryRef),
                   ref(doc, category::Descriptions, e->descriptionRef), decimal(e->predefinedDir),
                   decimal(e->platform), e->sourcePath, decimal(e->shared)});
    }
    std::string operator()(const ShortcutEntry* e) const {
      return join({e->name, e->commandLine, ref(doc, category::Files, e->fileRef),
                   ref(doc, category::Groups, e->groupRef)});
    }
    std::string operator()(const MessageEntry* e) const {
      return join({e->destName, decimal(e->disk), e->filePath});
    }
  };
  return std::visit(Visitor{doc}, entry);
}

}  // namespace

std::string entryText(const CScriptDoc& doc, int lineNumber, int category, int index) {
  std::optional<EntryRef> entry = const_cast<CScriptDoc&>(doc).entryAt(category, index);
  if (!entry) return {};
  return decimal(lineNumber) + "=" + entryFields(doc, *entry) + "\n";
}

std::string sectionText(CScriptDoc& doc, int number) {
  std::string out;
  switch (number) {
    case section::Settings: return keyLines(doc.settings, settingsKeys());
    case section::Background: return keyLines(doc.background, backgroundKeys());
    case section::Owner: return keyLines(doc.properties, ownerKeys());
    case section::Peskin:
      doc.prepareUninstallSection();
      return "UnGroup=" + decimal(doc.uninstall.unGroup) + "\nUnDesc=" +
             oneLine(doc.uninstall.unDesc) + "\n";
    case section::End:
      out = "Reboot=" + decimal(doc.endOfInstall.reboot) + "\n";
      for (std::size_t i = 0; i < doc.endOfInstall.launch.size(); ++i) {
        out += decimal(long(i)) + "=" + oneLine(doc.endOfInstall.launch[i]) + "\n";
      }
      return out;
    case section::Web:
      out = "StartURL=" + oneLine(doc.web.startUrl) + "\n";
      for (std::size_t i = 0; i < doc.web.favoriteNames.size(); ++i) {
        std::string url = i < doc.web.favoriteUrls.size() ? doc.web.favoriteUrls[i] : "";
        out += decimal(long(i)) + "=" + oneLine(doc.web.favoriteNames[i]) + "," + oneLine(url) + "\n";
      }
      return out;
    default:
      if (!isEntryCategory(number)) return {};
      for (int i = 0, n = doc.count(number); i < n; ++i) out += entryText(doc, i, number, i);
      return out;
  }
}

std::string documentText(CScriptDoc& doc) {
  // Settings first, then the uninstaller, background and owner sections, the eight entry
  // sections, [End] and [Web].
  static const int order[] = {section::Settings, section::Peskin, section::Background,
                              section::Owner, 3, 4, 5, 6, 7, 8, 9, 10, section::End,
                              section::Web};
  std::string out = str(180);
  bool first = true;
  for (int number : order) {
    if (!first) out += '\n';
    first = false;
    out += "[" + strItem(163, number) + "]\n";
    out += sectionText(doc, number);
  }
  return out;
}

}  // namespace vandrel::builder
