// The call interface of the script-checking library Scanlet.dll: the document description
// handed to it and the four functions that its export "GetFunctionInfo" hands back. The
// library reads the builder's own records through the description, so both sides are built
// from these headers with the same compiler.
#pragma once

#include <cstdint>

#include "builder/model/entry_list.h"
#include "builder/model/settings.h"

namespace vandrel::builder {

struct ScanletDocument {
  const ScriptSettings* settings;
  const BackgroundSettings* background;
  const EndOfInstall* endOfInstall;
  const WebSettings* web;
  const EntryList<DirectoryRecord>* directories;
  const EntryList<DescriptionRecord>* descriptions;
  const EntryList<GroupRecord>* groups;
  const EntryList<IniRecord>* iniEntries;
  const EntryList<RegistryRecord>* registryEntries;
  const EntryList<FileRecord>* files;
  const EntryList<ShortcutRecord>* shortcuts;
  const EntryList<MessageRecord>* messages;
  char lastGenPath[260];
  char programFolder[260];
  const void* treeView;
  std::uint64_t nodes[15];  // the twelve category items, then the three settings pages
  // Beyond the builder's records: the uninstaller settings, the document's path, and the
  // size of a file of the machine by its Windows path (-1 when it is missing or a folder).
  const UninstallSettings* uninstall;
  char documentPath[260];
  void* machine;
  std::int64_t (*fileSize)(void* machine, const char* windowsPath);
};

extern "C" {
using ScanletCheckItem = void (*)(int category);
using ScanletBegin = int (*)(const char* logPath, const ScanletDocument* document);
using ScanletEnd = void (*)();
using ScanletCount = int (*)(int category);

struct ScanletFunctions {
  ScanletCheckItem checkItem;
  ScanletBegin begin;
  ScanletEnd end;
  ScanletCount count;
};

using ScanletGetFunctionInfo = void (*)(ScanletFunctions* table);
}

inline constexpr const char* kScanletExport = "GetFunctionInfo";

}  // namespace vandrel::builder
