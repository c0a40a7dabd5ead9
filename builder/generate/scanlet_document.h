// The part of Scanlet.dll's document description that comes from the document alone: its
// settings and its lists of records.
#pragma once

#include "builder/generate/scanlet_interface.h"
#include "builder/model/script_doc.h"

namespace vandrel::builder {

// A description pointing at the document's settings and records; every other field (the
// paths, the tree, the machine and its file sizes) is empty, for the caller to fill in.
inline ScanletDocument scanletRecords(const CScriptDoc& doc) {
  ScanletDocument d{};
  d.settings = &doc.settings;
  d.background = &doc.background;
  d.endOfInstall = &doc.endOfInstall;
  d.web = &doc.web;
  d.directories = &doc.directories;
  d.descriptions = &doc.descriptions;
  d.groups = &doc.groups;
  d.iniEntries = &doc.iniEntries;
  d.registryEntries = &doc.registryEntries;
  d.files = &doc.files;
  d.shortcuts = &doc.shortcuts;
  d.messages = &doc.messages;
  d.uninstall = &doc.uninstall;
  return d;
}

}  // namespace vandrel::builder
