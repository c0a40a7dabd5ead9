// Numbers of the uninstaller's strings, and of the progress window's control texts.
#pragma once

namespace vandrel::uninstall::ids {

constexpr unsigned ScriptName = 129;      // "Script.vrx"
constexpr unsigned NoScript = 203;        // stop: no install script in the folder
constexpr unsigned Corrupted = 204;       // question: damaged [Files] entry
constexpr unsigned CorruptedDirs = 205;   // question: [Directories] with fewer than 3 entries
constexpr unsigned NotCompleted = 206;    // result: a step was stopped
constexpr unsigned NoCommandLine = 207;   // stop: started without a command line
constexpr unsigned Completed = 215;       // result: every step ran
constexpr unsigned Removing = 216;        // caption line of the progress window
constexpr unsigned Confirm = 220;         // question: remove %1?
constexpr unsigned SharedDllsKey = 221;   // HKLM key of the shared-usage counts
constexpr unsigned ZeroCount = 222;       // question dialog: shared file %1 unused
constexpr unsigned Leftovers = 224;       // result: the installation folder is not empty
// Not an original text: the stop of a run with windows while another installation runs.
constexpr unsigned InstallationRunning = 225;
constexpr unsigned Title = 57344;         // caption of every message and window

// Texts of the progress window (dialog 101) and of the question dialog (dialog 134),
// numbered by their controls.
constexpr unsigned WindowCaptionLine = 1001;
constexpr unsigned BoxShared = 1004;
constexpr unsigned BoxStandard = 1005;
constexpr unsigned BoxLinks = 1008;
constexpr unsigned BoxFolders = 1010;
constexpr unsigned BoxRegistry = 1012;

}  // namespace vandrel::uninstall::ids
