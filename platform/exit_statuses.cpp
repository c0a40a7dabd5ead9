// The exit statuses of every program, in words.
#include "platform/exit_statuses.h"

namespace vandrel::platform {
namespace {

// The statuses every command-line tool shares: done, failed, refused command line.
std::vector<ExitStatus> toolStatuses(const char* failed, const char* failedToDo) {
  return {
      {0, "the command did what it was asked, or printed the help asked for", ""},
      {1, failed, failedToDo},
      {2, "the command line was refused (an unknown command or option, a missing argument); "
          "nothing was changed",
       "run the program with --help and correct the command line"},
  };
}

std::vector<ProgramExits> makeTables() {
  std::vector<ProgramExits> tables;
  tables.push_back({"tamsin32, and Setup.exe passing on the engine's status", "tamsin32",
      {
          {0, "the installation completed and its closing dialog reported success", ""},
          {1, "the setup ended before its closing dialog: no Script.vrx beside the engine, the "
              "machine could not be opened, the answers file could not be read, the machine was "
              "held by an installation still running, or VANDREL_PLAN was not 0 or 1; nothing "
              "of the application was installed",
           "read the line on standard error; run Setup.exe from the package's first disk, "
           "correct the file it names, or wait for the running installation to end"},
          {2, "help was asked for, a switch the program does not take was given, or the "
              "answers file was refused (an unknown section, key, page or component, or a bad "
              "value); nothing was changed",
           "correct the command line (a source folder is a Windows path such as C:\\Pkg\\), "
           "or the answers file at the line named (or add /LENIENT)"},
          {10, "the installation was cancelled in the wizard; nothing of the application was "
               "installed",
           "run it again; unattended, remove Cancel= from the answers file's [Wizard] section "
           "or answer the page it names"},
          {11, "the installation was terminated: a fatal system check, a copy cancelled or cut "
               "short, a package file not found and its disk prompt cancelled, or a drive "
               "without room; what it had changed was taken back",
           "give the missing file or disk (the answers file's [Folders] section), free room "
           "on the drive named, or answer Yes to the question named, then run it again"},
          {12, "the installation stopped: the script lacks information the setup needs (no "
               "[Directories] entries, a [Files] entry without a file or size); what it had "
               "changed was taken back",
           "rebuild the package (corvix check, corvix generate) or ask its maker for a whole "
           "one"},
          {13, "the installation stopped: this Windows is older than the package needs",
           "install on a newer Windows, or answer Yes to the question named on standard error "
           "to install anyway"},
          {15, "the installation ended with errors: a file was not copied, or a folder, "
               "shortcut, group, win.ini or registry change could not be made; what it had "
               "changed was taken back",
           "read the lines naming each file or change on standard error, correct the "
           "destination (a folder that can be written on an existing drive) and run it again"},
          {16, "the installation stopped: the package needs an Intel processor",
           "install on an Intel computer, or answer Yes to the question named to install "
           "anyway"},
          {17, "the installation stopped: the processor is older than the package needs",
           "install on a newer computer, or answer Yes to the question named to install "
           "anyway"},
      }});
  tables.push_back({"Setup.exe itself", "Setup.exe",
      {
          {1, "the starter could not put the setup engine and its script into the Windows "
              "folder (a full drive, a damaged package), could not open the machine, or found "
              "it held by an installation still running; nothing was installed",
           "read the line on standard error: free room on the Windows drive, copy the package "
           "again, or wait for the running installation to end"},
          {2, "help was asked for, a switch the starter does not take was given, or the "
              "answers file was refused; nothing was changed",
           "correct the switches (Setup.exe /? lists them) or the answers file at the line "
           "named"},
      }});
  tables.push_back({"peskin32", "peskin32",
      {
          {0, "the removal completed, or the setup's temporary files were cleaned up "
              "(/DeleteTemp)",
           ""},
          {1, "the uninstaller stopped before removing anything: no installation folder was "
              "given, or no script of an installation was found in it",
           "give the installation folder that holds the installed Script.vrx, as the "
           "program's uninstall registration does"},
          {2, "help was asked for, a switch the uninstaller does not take was given, or the "
              "answers file was refused; nothing was changed",
           "give the switches peskin32 /? lists, then the installation folder or /DeleteTemp; "
           "or correct the answers file at the line named"},
          {3, "the removal completed, but some files, folders or entries could not be removed",
           "remove what is left by hand; the action log names each item left and why"},
          {4, "the removal was stopped before its end (a damaged script was not to be trusted, "
              "or a step failed); part of the installation is still there",
           "answer Yes to the question named on standard error to go on anyway, or repair "
           "the installation by installing it again, then remove it"},
          {5, "the removal was declined at its confirmation; nothing was removed",
           "answer Yes to the confirmation (unattended: 1=Yes in the answers file's "
           "[Answers] section)"},
      }});
  std::vector<ExitStatus> corvix = toolStatuses(
      "the command failed or was cancelled: a document that cannot be read or has errors, a "
      "package that cannot be written, or the check command with findings (unless --warn-only)",
      "read the lines on standard error: they name the document, the entry or the file, and "
      "what to correct");
  corvix.push_back({kOtherStatus, "corvix test: the exit status of the setup it started (the tamsin32 "
                        "table above)",
                    "see that status"});
  tables.push_back({"corvix", "corvix", corvix});
  std::vector<ExitStatus> machine = toolStatuses(
      "the command failed: a machine root that cannot be made or opened, a file or key not "
      "found, a program that cannot be started",
      "read the line on standard error, which names the root, file or key");
  machine.push_back({kOtherStatus, "run and uninstall: the exit status of the program they started",
                     "see that program's table"});
  tables.push_back({"vandrel-machine", "vandrel-machine", machine});
  tables.push_back({"vandrel-lz", "vandrel-lz",
                    toolStatuses("the file could not be read, expanded, compressed or written",
                                 "read the line on standard error, which names the file")});
  tables.push_back({"vandrel-paint", "vandrel-paint",
                    toolStatuses("the picture could not be read or written (a bitmap that "
                                 "cannot be shown still ends with 0)",
                                 "read the line on standard error, which names the file")});
  std::vector<ExitStatus> state = toolStatuses(
      "the machine could not be opened or read",
      "read the line on standard error, which names the machine");
  state[2].happened = "a --same-as option was not LABEL=PATH; nothing was read";
  state.push_back({kOtherStatus, "above 100: the command line was refused by its parser (an unknown "
                       "option, a missing value), as the line on standard error says",
                   "run vandrel-state --help and correct the command line"});
  tables.push_back({"vandrel-state", "vandrel-state", state});
  return tables;
}

// Words wrapped at width columns, the lines after the first indented by indent blanks.
std::string wrapped(const std::string& text, std::size_t first, std::size_t indent,
                    std::size_t width = 79) {
  std::string out, line;
  std::size_t lineStart = first;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find(' ', at);
    if (end == std::string::npos) end = text.size();
    std::string word = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && lineStart + line.size() + 1 + word.size() > width) {
      out += line + "\n" + std::string(indent, ' ');
      line.clear();
      lineStart = indent;
    }
    line += (line.empty() ? "" : " ") + word;
  }
  return out + line + "\n";
}

}  // namespace

const std::vector<ProgramExits>& allExitStatuses() {
  static const std::vector<ProgramExits> tables = makeTables();
  return tables;
}

const ProgramExits* exitStatusesOf(const std::string& key) {
  for (const ProgramExits& table : allExitStatuses()) {
    if (key == table.key) return &table;
  }
  return nullptr;
}

const ExitStatus* exitStatusOf(const std::string& key, int status) {
  const ProgramExits* table = exitStatusesOf(key);
  if (!table) return nullptr;
  for (const ExitStatus& entry : table->statuses) {
    if (entry.status == status) return &entry;
  }
  return nullptr;
}

std::string exitStatusHelp(const std::string& key, const std::string& heading) {
  const ProgramExits* table = exitStatusesOf(key);
  if (!table) return "";
  std::string help = heading + "\n";
  for (const ExitStatus& entry : table->statuses) {
    // A status passed on from another program has no number of its own.
    std::string head = entry.status == kOtherStatus ? "  *   " : "  " + std::to_string(entry.status) +
                                                         std::string(entry.status < 10 ? 3 : 2, ' ');
    std::string text = entry.happened + std::string(".");
    if (*entry.toDo) text += " To do: " + std::string(entry.toDo) + ".";
    help += head + wrapped(text, head.size(), head.size());
  }
  return help;
}

}  // namespace vandrel::platform
