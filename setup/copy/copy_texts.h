// Texts of the copy, version, INI/registry and program group steps, by string id.
#pragma once

#include <string>

namespace vandrel::setup {

class SetupApp;

namespace text_id {
constexpr unsigned CreatingFolders = 285;
constexpr unsigned FolderMacros = 300;
constexpr unsigned LocateDisk = 271;  // the folder prompt for a disk, followed by its number
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

// The string of the engine's table; the built-in English text when the table lacks it.
std::string copyText(const SetupApp& app, unsigned id);
// copyText with %1 (and %2) filled.
std::string copyText(const SetupApp& app, unsigned id, const std::string& arg1);

}  // namespace vandrel::setup
