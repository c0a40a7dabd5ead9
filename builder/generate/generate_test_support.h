// Fixtures for the generation tests: a builder context over an in-memory machine, entry
// builders and a line splitter.
#pragma once

#include <string>
#include <vector>

#include "builder/model/script_doc.h"
#include "builder/generate/builder_context.h"
#include "builder/generate/progress_service.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/memory_file_system.h"

namespace vandrel::builder::testing {

// An in-memory machine with the builder in C:\Corvix and the author's files in C:\Src.
struct MemoryBuilder {
  test::MemoryFileSystem files;
  test::FakeInteraction ui;
  ProgressService progress{ui, files};
  BuilderContext context{files, ui, progress, "C:\\Corvix", nullptr};

  MemoryBuilder() {
    files.makeDirectories("C:\\Corvix");
    ui.addDummyName = true;  // the disk folder prompts are answered with folders
  }
  void companion(const std::string& name, std::size_t size) {
    files.writeFile("C:\\Corvix\\" + name, std::string(size, 'e'));
  }
  // The companion files that the build makes (no 16-bit ones).
  void companions() {
    for (const char* name : {"Setup.exe", "Tam32E.ex_", "Tam32F.ex_", "Pes32E.ex_", "Pes32F.ex_"})
      companion(name, 100);
  }
};

// Entry builders: each returns the key of the entry appended.
inline EntryKey addDirectory(CScriptDoc& doc, const std::string& name, int parent = 0,
                             int optional = 0, const std::string& description = "d") {
  DirectoryRecord e{name, parent, optional, description, doc.newKey()};
  doc.appendEntry(e);
  return e.key;
}
inline EntryKey addDescription(CScriptDoc& doc, const std::string& text) {
  DescriptionRecord e{text, doc.newKey()};
  doc.appendEntry(e);
  return e.key;
}
inline EntryKey addGroup(CScriptDoc& doc, const std::string& name) {
  GroupRecord e{name, doc.newKey()};
  doc.appendEntry(e);
  return e.key;
}
inline EntryKey addFile(CScriptDoc& doc, const std::string& name, std::int32_t size, int disk = 1,
                        EntryKey dir = 0, int predefined = 0,
                        const std::string& sourcePath = "C:\\Src") {
  FileRecord e;
  e.sourceName = name;
  e.destName = name;
  e.size = size;
  e.disk = disk;
  e.directoryRef = dir;
  e.predefinedDir = predefined;
  e.sourcePath = sourcePath;
  e.key = doc.newKey();
  doc.appendEntry(e);
  return e.key;
}
inline EntryKey addShortcut(CScriptDoc& doc, EntryKey file, EntryKey group, const std::string& name,
                            const std::string& commandLine = "") {
  ShortcutRecord e{file, group, name, commandLine, doc.newKey()};
  doc.appendEntry(e);
  return e.key;
}
inline EntryKey addRegistry(CScriptDoc& doc, int root, const std::string& subkey,
                            const std::string& entry, const std::string& value, int removal = 1) {
  RegistryRecord e{root, subkey, entry, value, removal, doc.newKey()};
  doc.appendEntry(e);
  return e.key;
}
inline EntryKey addIni(CScriptDoc& doc, const std::string& section, const std::string& entry,
                       const std::string& value) {
  IniRecord e{section, entry, value, doc.newKey()};
  doc.appendEntry(e);
  return e.key;
}
inline EntryKey addMessage(CScriptDoc& doc, const std::string& name, int disk,
                           const std::string& path) {
  MessageRecord e{name, disk, path, doc.newKey()};
  doc.appendEntry(e);
  return e.key;
}

// The lines of a text whose lines end in "\r\n"; a bare line feed or carriage return is kept
// inside its line, so that a comparison with the expected lines fails.
inline std::vector<std::string> crlfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start) + "<no line end>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace vandrel::builder::testing
