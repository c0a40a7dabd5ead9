// Texts and script vocabulary of the copy, version, INI/registry and program group steps:
// string ids, section and count-key names read from the engine's lists.
#pragma once

#include <string>

namespace vandrel::setup {

class SetupApp;

namespace text_id {
constexpr unsigned CreatingFolders = 285;
constexpr unsigned FolderMacros = 300;
constexpr unsigned LocateDisk = 271;  // the folder prompt for a disk, followed by its number
constexpr unsigned SectionList = 212;
constexpr unsigned CountKeyList = 215;
constexpr unsigned MissingFile = 700;
constexpr unsigned ShortCopy = 701;
constexpr unsigned EngineComponent = 702;
constexpr unsigned UnknownFileType = 703;
constexpr unsigned CopyCaption = 704;
constexpr unsigned CopyingLabel = 705;
constexpr unsigned ToLabel = 706;
constexpr unsigned MessagesCaption = 707;
constexpr unsigned NewerDateStamp = 710;
constexpr unsigned ProductOlder = 711;
constexpr unsigned ExistingHigher = 712;
constexpr unsigned LanguageNote = 713;
constexpr unsigned KeepRecommended = 714;
constexpr unsigned LanguageOnly = 715;
constexpr unsigned UpdatingIni = 720;
constexpr unsigned UpdatingRegistry = 721;
}  // namespace text_id

// Positions in the engine's section list and count-key list.
namespace section {
constexpr int Directories = 3;
constexpr int Descriptions = 4;
constexpr int Groups = 5;
constexpr int AddIni = 6;
constexpr int Registry = 7;
constexpr int Files = 8;
constexpr int Shortcuts = 9;
constexpr int Messages = 10;
constexpr int SharedFiles = 15;
constexpr int AddedLinks = 16;
constexpr int AddedFolders = 17;
}  // namespace section

// The string of the engine's table; the built-in English text when the table lacks it.
std::string copyText(const SetupApp& app, unsigned id);
// copyText with %1 (and %2) filled.
std::string copyText(const SetupApp& app, unsigned id, const std::string& arg1);

std::string sectionName(const SetupApp& app, int position);
std::string countKeyName(const SetupApp& app, int position);

}  // namespace vandrel::setup
