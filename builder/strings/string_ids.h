// Ids of the builder's numbered strings, by name.
#pragma once

namespace vandrel::builder::sid {

// Application: start-up, tips, menus and document types.
constexpr unsigned OleInitFailed = 100;
constexpr unsigned Unavailable = 104;
constexpr unsigned Unknown = 105;
constexpr unsigned TipOfTheDayMenu = 122;
constexpr unsigned TipsMissing = 124;
constexpr unsigned TipsUnreadable = 125;
constexpr unsigned HelpMenu = 126;
constexpr unsigned AppName = 128;
constexpr unsigned DocumentTypes = 129;

// Tree and labels: category names, entry labels, questions before an erase, key lists.
constexpr unsigned CategoryLabels = 130;
constexpr unsigned SettingsCaption = 131;
constexpr unsigned BackgroundCaption = 132;
constexpr unsigned SettingsItemLabels = 133;
constexpr unsigned LabelCreate = 134;
constexpr unsigned LabelPlain = 135;
constexpr unsigned LabelCreateGroup = 136;
constexpr unsigned LabelIniValue = 137;
constexpr unsigned LabelRegistryValue = 138;
constexpr unsigned LabelFileCopied = 139;
constexpr unsigned LabelFileExpanded = 140;
constexpr unsigned LabelShortcut = 141;
constexpr unsigned LabelMessage = 142;
constexpr unsigned NewPrefix = 143;
constexpr unsigned EntryKindNames = 144;
constexpr unsigned DefaultDirectoryLabels = 145;
constexpr unsigned PredefinedDirPrefixes = 146;
constexpr unsigned LabelIniSection = 147;
constexpr unsigned RegistryRootNames = 148;
constexpr unsigned AskEraseCategory = 149;
constexpr unsigned AskEraseEntry = 150;
constexpr unsigned PickTextFileTitle = 151;
constexpr unsigned TextFileFilter = 152;
constexpr unsigned PickFileTitle = 153;
constexpr unsigned RootDirectoryNames = 155;
constexpr unsigned PlatformNames = 156;
constexpr unsigned LabelTo = 157;
constexpr unsigned AskEraseDirectory = 158;
constexpr unsigned AskEraseFile = 159;
constexpr unsigned AskEraseReferencedCategory = 160;
constexpr unsigned LabelAs = 161;
constexpr unsigned NoneLabel = 162;
constexpr unsigned SettingsKeys = 164;
constexpr unsigned BackgroundKeys = 165;
constexpr unsigned RebootKey = 166;
constexpr unsigned PropertiesCaption = 167;
constexpr unsigned OwnerKeys = 168;
constexpr unsigned StartUrlKey = 169;
constexpr unsigned DefaultValueLabel = 170;
constexpr unsigned AssistantTitles = 171;
constexpr unsigned UninstallKeys = 172;
constexpr unsigned UninstallShortcutName = 173;

// Document files: headers, titles, save and load messages, file prompts.
constexpr unsigned DocumentHeader = 180;
constexpr unsigned AddFileFilter = 181;
constexpr unsigned TitleWithAppName = 182;
constexpr unsigned UntitledTitle = 183;
constexpr unsigned SaveFailed = 184;
constexpr unsigned NotADocument = 186;
constexpr unsigned AskStopProcessing = 190;
constexpr unsigned AskLogFileName = 192;
constexpr unsigned PickDiskFolder = 193;
constexpr unsigned SaveLogTitle = 195;
constexpr unsigned PickDirectoryForFile = 196;

// Preferences: groups and captions.
constexpr unsigned StandardLabel = 200;
constexpr unsigned DefaultEditor = 201;
constexpr unsigned PrefsSettingsGroup = 202;
constexpr unsigned PrefsBackgroundGroup = 203;
constexpr unsigned PrefsCaption = 204;
constexpr unsigned SummaryCaption = 205;
constexpr unsigned PrefsFileDropGroup = 206;

// Pickers and package files: filters, titles, engine and uninstaller names.
constexpr unsigned BitmapFilter = 230;
constexpr unsigned PickBitmapTitle = 231;
constexpr unsigned ScriptFilter = 232;
constexpr unsigned PickImportTitle = 233;
constexpr unsigned ImportSameDocument = 234;
constexpr unsigned ScriptFileName = 235;
constexpr unsigned UninstallerFiles = 236;
constexpr unsigned SetupFiles = 237;
constexpr unsigned FileNotFound = 238;
constexpr unsigned UninstallRegistration = 239;

// Generation: the summary sentences, the disk list, progress and outcome messages.
constexpr unsigned SummaryRequirements = 270;
constexpr unsigned SummaryEngines = 271;
constexpr unsigned SummaryPages = 272;
constexpr unsigned SummaryUninstaller = 273;
constexpr unsigned SummaryWindowsNames = 274;
constexpr unsigned SummaryCpuNames = 275;
constexpr unsigned SummaryEngineKinds = 276;
constexpr unsigned SummaryPageNames = 277;
constexpr unsigned SummaryUninstallerNames = 278;
constexpr unsigned SummaryStorageNames = 279;
constexpr unsigned SummaryDiskColumns = 280;
constexpr unsigned DiskLabel = 281;
constexpr unsigned EscToAbort = 282;
constexpr unsigned CancelledByUser = 283;
constexpr unsigned AskGenerateWithMissing = 284;
constexpr unsigned AskAbortShortCopy = 285;
constexpr unsigned GenerateHadErrors = 286;
constexpr unsigned CopyingTo = 287;
constexpr unsigned GenerateComplete = 288;
constexpr unsigned AskEngineFilesMissing = 289;
constexpr unsigned CopyingEngineFile = 290;
constexpr unsigned AskChooseDiskFolders = 291;
constexpr unsigned DiskFolderName = 292;
constexpr unsigned GenerateCancelled = 293;
constexpr unsigned DropAddedNothing = 298;
constexpr unsigned DropAdded = 299;

// Script.vrx: processor and Windows names, the header.
constexpr unsigned CpuNames = 300;
constexpr unsigned WindowsNames = 301;
constexpr unsigned ScriptHeader = 302;

// Test install and integrity check.
constexpr unsigned AskLocateGenerated = 310;
constexpr unsigned PickGeneratedFolder = 311;
constexpr unsigned AskGenerateFirst = 312;
constexpr unsigned GenerateIncomplete = 313;
constexpr unsigned AskRunSetup = 314;
constexpr unsigned SetupNotFound = 315;
constexpr unsigned CheckLibraryName = 316;
constexpr unsigned CheckLibraryMissing = 317;
constexpr unsigned LogCreateFailed = 318;
constexpr unsigned AskShowLog = 319;

// Version information and import messages.
constexpr unsigned VersionInfoCaption = 330;
constexpr unsigned VersionColumns = 331;
constexpr unsigned ComponentNames = 332;
constexpr unsigned UnknownExtension = 333;
constexpr unsigned FileAccessFailed = 334;

// File check, web page and uninstaller warning.
constexpr unsigned AskFixSize = 345;
constexpr unsigned AskLocateSource = 346;
constexpr unsigned FileCheckColumns = 347;
constexpr unsigned NoYes = 348;
constexpr unsigned PickSourceFolder = 349;
constexpr unsigned TitleWithAppNameAndVersion = 350;
constexpr unsigned WebColumns = 351;
constexpr unsigned UninstallGroupWarning = 352;
constexpr unsigned TextNotWrittenBack = 353;
constexpr unsigned NoApplicationName = 354;
constexpr unsigned SameStoredName = 355;
constexpr unsigned PackageOverSources = 356;
constexpr unsigned ViewerNotStarted = 357;

// Summary warnings.
constexpr unsigned SixteenBitWarning = 370;
constexpr unsigned SummaryOverhead = 371;
constexpr unsigned SummaryMissingFiles = 372;

// Assistants: messages, registry keys and values.
constexpr unsigned AssistantExtensionMissing = 420;
constexpr unsigned AssistantNoBlanks = 421;
constexpr unsigned RunKeys = 430;
constexpr unsigned AssistantFileFirst = 431;
constexpr unsigned AppPathsKey = 440;
constexpr unsigned AssistantPickRoot = 445;
constexpr unsigned SoftwareKey = 446;
constexpr unsigned AssistantLocalMachine = 447;
constexpr unsigned ProductRegistrationValues = 448;
constexpr unsigned DesktopValueNames = 460;
constexpr unsigned DesktopKey = 461;

// Framework strings: the title and the status bar.
constexpr unsigned Title = 57344;
constexpr unsigned Ready = 57345;

}  // namespace vandrel::builder::sid
