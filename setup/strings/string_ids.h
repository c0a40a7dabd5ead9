// Ids of the setup engine's numbered strings.
#pragma once

namespace vandrel::setup::sid {

// Notice texts by licence type.
constexpr unsigned FreewareNotice = 201;
constexpr unsigned CopyrightNotice = 202;
constexpr unsigned SharewareNotice = 203;

// Licence page.
constexpr unsigned LicenceButtons = 239;  // "Agree,Dont Agree" labels of Next and Cancel
constexpr unsigned LicenceHeading = 240;
constexpr unsigned LicenceMissing = 241;
// Not one of the original texts: the last line of a text too long to be shown whole.
constexpr unsigned TextShortened = 242;

// Closing dialog: the outcome texts of status codes 2 to 7 and the headline of a success.
constexpr unsigned OutcomeIncomplete = 250;
constexpr unsigned OutcomeWindowsTooOld = 251;
constexpr unsigned OutcomeCompleted = 252;
constexpr unsigned OutcomeGroupsFailed = 253;
constexpr unsigned OutcomeNotIntel = 254;
constexpr unsigned OutcomeCpuTooOld = 255;
constexpr unsigned HeadlineCompleted = 269;

// Folder picker prompts.
constexpr unsigned PickInstallFolder = 270;
constexpr unsigned PickDiskFolder = 271;  // followed by the disk number

// Program group step: its status text and the folder names that stand for shell folders.
constexpr unsigned CreatingFolders = 285;
constexpr unsigned FolderMacros = 300;

// Favourites locations below HKEY_CURRENT_USER ("key path,value name"), and the web texts.
constexpr unsigned FavoritesLocation1 = 307;
constexpr unsigned FavoritesLocation2 = 308;
constexpr unsigned FavoritesLocation3 = 309;
constexpr unsigned AskOpenWebSite = 312;
constexpr unsigned AskAddFavorite = 313;
constexpr unsigned WebSiteName = 314;

// Copy step: questions, descriptions, the progress window's labels and the disk messages.
constexpr unsigned MissingFile = 700;
constexpr unsigned ShortCopy = 701;
constexpr unsigned EngineComponent = 702;
constexpr unsigned UnknownFileType = 703;
constexpr unsigned CopyCaption = 704;
constexpr unsigned CopyingLabel = 705;
constexpr unsigned ToLabel = 706;
constexpr unsigned MessagesCaption = 707;
// Not one of the original texts: the drive named before the copy when the files cannot fit.
constexpr unsigned DiskFull = 708;

// Version check: the replacement questions and their parts.
constexpr unsigned NewerDateStamp = 710;
constexpr unsigned ProductOlder = 711;
constexpr unsigned ExistingHigher = 712;
constexpr unsigned LanguageNote = 713;
constexpr unsigned KeepRecommended = 714;
constexpr unsigned LanguageOnly = 715;

// INI and registry step.
constexpr unsigned UpdatingIni = 720;
constexpr unsigned UpdatingRegistry = 721;

// The program's title.
constexpr unsigned Title = 57344;

// Texts of the driver, the requirements check, the wizard and the closing dialog.
constexpr unsigned ScriptMissing = 1101;
// Not original texts: why the starter or the engine stops before any window, shown to a user
// of the windows with the reason under it.
constexpr unsigned EngineNotPlaced = 1102;
constexpr unsigned EngineNotStarted = 1103;
constexpr unsigned InstallationRunning = 1104;
constexpr unsigned NotIntelQuestion = 1110;
constexpr unsigned UnknownSystem = 1111;
constexpr unsigned Win32sRefused = 1112;
constexpr unsigned WindowsVersionQuestion = 1113;
constexpr unsigned CpuQuestion = 1114;
constexpr unsigned BuildQuestion = 1115;
constexpr unsigned VersionNames = 1116;
constexpr unsigned CancelQuestion = 1120;
constexpr unsigned CancelWhileCopying = 1121;
constexpr unsigned CancelInWizard = 1122;
constexpr unsigned ClosingUpper = 1130;
constexpr unsigned ClosingLower = 1131;
constexpr unsigned RebootComputer = 1140;
constexpr unsigned RebootWindows = 1141;

constexpr unsigned FirstPageTexts = 1150;  // five lines, joined by line breaks
constexpr unsigned WelcomeTo = 1151;
constexpr unsigned AdviceText = 1152;
constexpr unsigned ClickNext = 1153;
constexpr unsigned RegistrationIntro = 1154;
constexpr unsigned UserNameLabel = 1155;
constexpr unsigned CompanyLabel = 1156;
constexpr unsigned SerialLabel = 1157;
constexpr unsigned ComponentsIntro = 1158;
constexpr unsigned ComponentsHint = 1159;
constexpr unsigned SharingQuestion = 1160;
constexpr unsigned ShareChoice = 1161;
constexpr unsigned DontShareChoice = 1162;
constexpr unsigned SharingNote = 1163;
constexpr unsigned DestinationIntro = 1164;
constexpr unsigned DestinationKeep = 1165;
constexpr unsigned DestinationChange = 1166;
constexpr unsigned InstallFolderBox = 1167;
constexpr unsigned ChangeButton = 1168;
constexpr unsigned BackupBox = 1169;
constexpr unsigned SpaceRequired = 1170;
constexpr unsigned SpaceAvailable = 1171;
constexpr unsigned PickerCaption = 1172;
constexpr unsigned FinishButton = 1173;
constexpr unsigned NextButton = 1174;
constexpr unsigned CancelButton = 1175;
constexpr unsigned ComponentsLabel = 1176;

}  // namespace vandrel::setup::sid
