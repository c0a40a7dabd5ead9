// Writing the document text form: header, setting sections, entry sections, [End], [Web].
#include "builder/codec/document_text.h"

#include <cstdio>

#include "builder/codec/text_fields.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder {

const std::vector<KeyField<ScriptSettings>>& settingsKeys() {
  using S = ScriptSettings;
  static const std::vector<KeyField<S>> keys{
      textKey(script::key::AppName, &S::appName),
      textKey(script::key::Ver, &S::ver),
      textKey(script::key::Title, &S::title),
      textKey(script::key::LoadTxt, &S::loadTxt),
      textKey(script::key::LoadBmp, &S::loadBmp),
      textKey(script::key::DefDir, &S::defDir),
      numberKey(script::key::ShowLicence, &S::showLicence, 0, 1),
      numberKey(script::key::Type, &S::type, 0, 3),
      numberKey(script::key::RegInfo, &S::regInfo, 0, 1),
      textKey(script::key::OwnMsg, &S::ownMsg),
      numberKey(script::key::MinCpu, &S::minCpu, 0, 2),
      numberKey(script::key::MinWin, &S::minWin, 0, 5),
      numberKey(script::key::NCompil, &S::nCompil, 0),
      numberKey(script::key::NSyst, &S::nSyst, 0, 2),
      numberKey(script::key::OwnUnInstall, &S::ownUnInstall, 0, 1),
      numberKey(script::key::ArchiveSize, &S::archiveSize, 0),
      numberKey(script::key::Language, &S::language, 0, 1),
      textKey(script::key::LastGenPath, &S::lastGenPath),
  };
  return keys;
}

const std::vector<KeyField<BackgroundSettings>>& backgroundKeys() {
  using S = BackgroundSettings;
  static const std::vector<KeyField<S>> keys{
      numberKey(script::key::Gradient, &S::gradient, 0, 1),
      numberKey(script::key::Vert, &S::vert, 0, 1),
      numberKey(script::key::Bitmap, &S::bitmap, 0, 1),
      textKey(script::key::BmpName, &S::bmpName),
      numberKey(script::key::BmpMode, &S::bmpMode, 0, 4),
      numberKey(script::key::Caption, &S::caption, 0, 1),
      colourKey(script::key::Top, &S::top),
      colourKey(script::key::Bottom, &S::bottom),
  };
  return keys;
}

const std::vector<KeyField<DocumentProperties>>& ownerKeys() {
  using S = DocumentProperties;
  static const std::vector<KeyField<S>> keys{textKey(script::key::Author, &S::author),
                                             textKey(script::key::Subject, &S::subject),
                                             textKey(script::key::Template, &S::templateName)};
  return keys;
}

namespace {

using script::oneLine;
using script::Section;

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

std::string entryFields(const CScriptDoc& doc, const EntryRef& entry) {
  struct Visitor {
    const CScriptDoc& doc;
    std::string operator()(const DirectoryRecord* e) const {
      return script::entryValue(script::DirectoryEntry{
          e->name, decimal(e->parent), decimal(e->optional), e->description});
    }
    std::string operator()(const DescriptionRecord* e) const { return oneLine(e->text); }
    std::string operator()(const GroupRecord* e) const { return oneLine(e->name); }
    std::string operator()(const IniRecord* e) const {
      return script::entryValue(script::IniEntry{e->section, e->entry, e->value});
    }
    std::string operator()(const RegistryRecord* e) const {
      return script::entryValue(script::RegistryEntry{decimal(e->root), e->subkey, e->entry,
                                                      e->value, decimal(e->removal)});
    }
    std::string operator()(const FileRecord* e) const {
      script::DocumentFileEntry line;
      line.source = e->sourceName;
      line.target = e->destName;
      line.disk = decimal(e->disk);
      line.uninstall = decimal(e->uninstall);
      line.force = decimal(e->forceCopy);
      line.expand = decimal(e->decompress);
      line.size = decimal(e->size);
      line.dir = ref(doc, category::Directories, e->directoryRef);
      line.desc = ref(doc, category::Descriptions, e->descriptionRef);
      line.predefinedDir = decimal(e->predefinedDir);
      line.platform = decimal(e->platform);
      line.sourcePath = e->sourcePath;
      line.shared = decimal(e->shared);
      return script::entryValue(line);
    }
    std::string operator()(const ShortcutRecord* e) const {
      script::DocumentShortcutEntry line;
      line.name = e->name;
      line.arguments = e->commandLine;
      line.file = ref(doc, category::Files, e->fileRef);
      line.group = ref(doc, category::Groups, e->groupRef);
      return script::entryValue(line);
    }
    std::string operator()(const MessageRecord* e) const {
      return script::entryValue(
          script::DocumentMessageEntry{e->destName, decimal(e->disk), e->filePath});
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

std::string sectionText(const CScriptDoc& doc, Section section) {
  std::string out;
  switch (section) {
    case Section::Settings: return keyLines(doc.settings, settingsKeys());
    case Section::Background: return keyLines(doc.background, backgroundKeys());
    case Section::Owner: return keyLines(doc.properties, ownerKeys());
    case Section::Peskin:
      return std::string(script::key::UnGroup) + "=" + decimal(doc.uninstallGroupIndex()) + "\n" +
             script::key::UnDesc + "=" + oneLine(doc.uninstallName()) + "\n";
    case Section::End:
      out = std::string(script::key::Reboot) + "=" + decimal(doc.endOfInstall.reboot) + "\n";
      for (std::size_t i = 0; i < doc.endOfInstall.launch.size(); ++i) {
        out += decimal(long(i)) + "=" + oneLine(doc.endOfInstall.launch[i]) + "\n";
      }
      return out;
    case Section::Web:
      out = std::string(script::key::StartURL) + "=" + oneLine(doc.web.startUrl) + "\n";
      for (std::size_t i = 0; i < doc.web.favoriteNames.size(); ++i) {
        std::string url = i < doc.web.favoriteUrls.size() ? doc.web.favoriteUrls[i] : "";
        out += decimal(long(i)) + "=" +
               script::entryValue(script::FavoriteEntry{doc.web.favoriteNames[i], url}) + "\n";
      }
      return out;
    default:
      if (const EntryKind* kind = entryKindOfSection(section)) {
        for (int i = 0, n = doc.count(kind->category); i < n; ++i) {
          out += entryText(doc, i, kind->category, i);
        }
      }
      return out;
  }
}

std::string documentText(CScriptDoc& doc) {
  doc.prepareUninstallSection();
  std::string out = str(sid::DocumentHeader);
  bool first = true;
  for (Section section : script::documentSections()) {
    if (!first) out += '\n';
    first = false;
    out += "[" + script::sectionName(section) + "]\n";
    out += sectionText(doc, section);
  }
  return out;
}

}  // namespace vandrel::builder
