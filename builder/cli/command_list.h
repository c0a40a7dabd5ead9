// The corvix subcommands: one line each, CORVIX_COMMAND(Id, "name", "description"). A command
// Id is defined by `CommandRun defineId(CLI::App&)` in its own command_<name>.cpp.
CORVIX_COMMAND(New, "new", "Write a new document with the defaults to OUT.cvx")
CORVIX_COMMAND(Dump, "dump", "Print the document text form of DOC")
CORVIX_COMMAND(Convert, "convert", "Read IN (.cvx or text form) and write OUT (.cvx: compound file, else text form)")
CORVIX_COMMAND(Generate, "generate", "Generate the package of DOC into --out DIR (disk folders, engine files, Script.vrx)")
CORVIX_COMMAND(Script, "script", "Regenerate script only: rewrite Script.vrx in the folder of DOC's last generation")
CORVIX_COMMAND(Add, "add", "The file-drop import: add the files and folders PATH... to DOC and save it")
CORVIX_COMMAND(Check, "check", "Check the integrity of DOC through Scanlet.dll and print the log")
CORVIX_COMMAND(CheckFiles, "check-files", "Check that DOC's files exist with their sizes; print the results table")
CORVIX_COMMAND(Summary, "summary", "Print the summary sentences and statistics of DOC")
CORVIX_COMMAND(Versions, "versions", "Print the version information of the component files beside corvix")
CORVIX_COMMAND(Test, "test", "Test install: start the Setup.exe of DOC's package on the machine")
