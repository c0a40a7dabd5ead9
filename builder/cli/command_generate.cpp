// corvix generate DOC --out DIR [--each-disk] [--set KEY=VALUE]... [--refresh-sizes] [--save]
// [--strict] [--quiet] [--elevation LEVEL]: the package of a document, with settings overridden
// for this build only.
#include <cstdio>
#include <filesystem>

#include "builder/cli/command_generate_strict.h"
#include "builder/cli/command_session.h"
#include "builder/codec/document_settings.h"
#include "builder/generate/package_generator.h"
#include "builder/sign/package_signing.h"
#include "platform/terminal.h"
#include "ui/action_log.h"
#include "ui/interaction.h"

namespace vandrel::builder::cli {

namespace {

// The keys of the options, completed by those of the environment; nullopt when the password
// file cannot be read.
template <typename Options>
std::optional<SigningKeys> signingKeys(const Options& o) {
  SigningKeys keys = o.keys;
  SigningKeys environment = signingKeysFromEnvironment(processEnvironment);
  if (!keys.configured()) {
    keys.certificate = environment.certificate;
    keys.key = environment.key;
    keys.pkcs12 = environment.pkcs12;
  }
  if (keys.timestampUrl.empty()) keys.timestampUrl = environment.timestampUrl;
  if (!o.passwordFile.empty()) {
    std::optional<std::string> password = readPasswordFile(o.passwordFile);
    if (!password) return std::nullopt;
    keys.password = *password;
  } else {
    keys.password = environment.password;
  }
  return keys;
}

}  // namespace

CommandRun defineGenerate(CommandLine& sub) {
  struct Options {
    std::string doc, out;
    bool eachDisk = false, noSave = false, save = false, refreshSizes = false;
    bool strict = false, quiet = false;
    std::vector<std::string> overrides;
    std::string elevation = "admin";
    bool sign = false;
    SigningKeys keys;
    std::string passwordFile;
  };
  auto o = std::make_shared<Options>();
  sub.argument("DOC", o->doc, "the document (.cvx or text form)");
  sub.requiredOption("--out", o->out,
                 "the package's folder (made when missing): the package itself when every file "
                 "is on disk 1, else a folder Disk1, Disk2, ... for each disk; the package is "
                 "put there only once it is complete");
  sub.flag("--each-disk", o->eachDisk,
               "ask a folder for each later disk instead of making DiskN folders below --out");
  sub.flag("--refresh-sizes", o->refreshSizes,
               "record the new size of a file that changed since it was added, and go on "
               "(without it such a file stops the generation)");
  sub.flag("--no-save", o->noSave, "leave a .cvx document file as it is");
  sub.flag("--save", o->save, "write what the run changed back into a text-form document");
  sub.option("--set", o->overrides,
             "KEY=VALUE: a setting for this build only, or the value of the build variable "
             "$(KEY) in entry fields (repeatable)");
  sub.flag("--strict", o->strict,
           "run the integrity check and the file check first, and generate nothing when either "
           "has a finding");
  sub.flag("--quiet", o->quiet, "print only findings and the summary line (no progress)");
  sub.flag("--sign", o->sign,
           "sign Setup.exe and the setup engine and uninstaller it packs with Authenticode "
           "(osslsigncode), with the certificate of the options below or of VANDREL_SIGN_*");
  sub.option("--certificate", o->keys.certificate, "FILE: the signing certificate (PEM or DER)");
  sub.option("--key", o->keys.key, "FILE: the certificate's private key");
  sub.option("--pkcs12", o->keys.pkcs12, "FILE: the certificate and its key in a PKCS#12 file");
  sub.option("--password-file", o->passwordFile,
             "FILE: the key's or the PKCS#12 file's password, on its first line (else "
             "VANDREL_SIGN_PASSWORD)");
  sub.option("--timestamp", o->keys.timestampUrl, "URL: an RFC 3161 time-stamp server");
  sub.option("--elevation", o->elevation,
             "admin (the default), highest or invoker: the rights the package's Setup.exe asks "
             "Windows for when it starts");
  return [o](CommandContext& context) {
    std::vector<std::string> overrides = o->overrides;
    BuildValues values = takeBuildValues(overrides);
    std::unique_ptr<HeadlessSession> session = openSession(context, o->doc);
    if (!session) return exit_status::Failed;
    noteBuildVariables(context, *session, values);
    if (std::optional<int> refused = refuseLoadErrors(context, *session, o->doc)) return *refused;
    // The overrides are applied to the document for the build and taken back before it is
    // saved, unless the generation itself changed that setting (LastGenPath).
    struct Taken { std::string key, before, during; };
    std::vector<Taken> taken;
    for (const std::string& assignment : overrides) {
      std::optional<std::string> key = settingName(assignment.substr(0, assignment.find('=')));
      if (key) taken.push_back({*key, *settingValue(session->doc, *key), {}});
    }
    std::string refused = applySettings(session->doc, overrides);
    if (!refused.empty()) return usageError(context, refused);
    std::optional<ExecutionLevel> level = parseExecutionLevel(o->elevation);
    if (!level) {
      return usageError(context, "--elevation " + o->elevation + ": admin, highest or invoker");
    }
    std::optional<SigningKeys> keys;
    if (o->sign) {
      keys = signingKeys(*o);
      if (!keys) return fail(context, o->passwordFile + ": the password file cannot be read");
      std::string problem = signingKeysProblem(*keys);
      if (!problem.empty()) return usageError(context, "--sign: " + problem);
    }
    for (Taken& t : taken) t.during = *settingValue(session->doc, t.key);
    if (!PackageGenerator::canGenerate(session->doc)) {
      return fail(context, "the document installs nothing: it has no groups, Win.ini or registry "
                           "entries, files or shortcuts");
    }
    std::error_code ec;
    if (std::filesystem::exists(o->out, ec) && !std::filesystem::is_directory(o->out, ec)) {
      return fail(context, o->out + ": not a folder");
    }
    // Progress is for a person watching: a terminal, or the windows of the graphical interface.
    // A log that standard error is redirected into gets no bars, and --quiet shows none at all.
    // (The console is the one interface that answers no answers file.)
    const bool console = !ui::answersFileUsed(ui::InteractionSettings{});
    session->progress().setShown(!o->quiet && (!console || platform::isTerminal(stderr)));
    if (o->strict) {
      std::optional<int> findings = runStrictChecks(context, *session);
      if (!findings) return exit_status::Failed;
      if (*findings > 0) {
        return fail(context, "the strict build found " + decimal(*findings) +
                                 " finding(s), listed above; nothing was generated");
      }
    }
    std::optional<std::string> folder = context.windowsPath(o->out);
    if (!folder) return fail(context, o->out + ": the folder cannot be reached from the machine");
    // Signing: the packed programs are signed before the generation copies them (the script
    // records their sizes), the package's starter after it (its manifest is written then).
    SigningLog signing;
    std::unique_ptr<SignedProgramFolder> signedPrograms;
    const std::string programFolder = session->context().programFolder;
    const std::string starter = enginePairs(session->doc.settings).front().source;
    if (keys) {
      std::vector<std::string> names;
      for (const EnginePair& pair : enginePairs(session->doc.settings)) names.push_back(pair.source);
      auto from = session->machine().files().hostPath(programFolder);
      signedPrograms = std::make_unique<SignedProgramFolder>(
          from ? *from : std::filesystem::path(), names, starter, *keys,
          session->doc.settings.appName, signing);
      for (const std::string& line : signing.lines) context.out << line << '\n';
      if (signedPrograms->path().empty() || !signing.problem.empty()) {
        return fail(context, "the package's programs could not be signed: " + signing.problem);
      }
      std::optional<std::string> folder = context.windowsPath(signedPrograms->path());
      if (!folder) return fail(context, "the signed programs cannot be reached from the machine");
      session->context().programFolder = *folder;
    }
    ui::ActionLog log(ui::Program::Builder, ui::ActionLog::pathFromEnvironment());
    session->context().log = &log;
    PackageGenerator generator(session->doc, session->tree().entryOrder(), session->context());
    generator.setBuildValues(values);
    GenerateOptions options{*folder, o->eachDisk, {}};
    options.quiet = o->quiet;
    options.executionLevel = *level;
    options.changedSizes = [&](const std::vector<SizeChange>& changes) {
      return settleChangedSizes(context, session->doc, changes, o->refreshSizes);
    };
    GenerateOutcome outcome = generator.generate(options);
    session->context().log = nullptr;
    session->context().programFolder = programFolder;
    int status = outcome == GenerateOutcome::Complete ? exit_status::Done : exit_status::Failed;
    if (keys && outcome == GenerateOutcome::Complete && generator.chosenFolder()) {
      auto package = session->machine().files().hostPath(*generator.chosenFolder() + starter);
      SignReport report = package ? signHostFile(*package, *keys, session->doc.settings.appName)
                                  : SignReport{SignOutcome::Failed, "not found in the package"};
      signing.lines.clear();
      signing.add(starter, report);
      context.out << signing.lines.front() << '\n';
      if (report.outcome == SignOutcome::Failed) {
        context.err << "corvix: the package's " << starter << " could not be signed: "
                    << report.problem << '\n';
        status = exit_status::Failed;
      }
    }
    keepGenerationChoices(session->doc, generator);
    for (auto t = taken.rbegin(); t != taken.rend(); ++t) {
      if (settingValue(session->doc, t->key) == t->during) changeSetting(session->doc, t->key, t->before);
    }
    bool kept = keepRunChanges(*session, o->save, o->noSave);
    if (!kept) status = exit_status::Failed;
    // What went into the package, for a person reading the build's output, and last in the log.
    // A run that did not complete put nothing in place: the files it counts were copied aside.
    const std::string meaning = !kept ? "the document could not be saved"
                                : outcome == GenerateOutcome::Complete ? "the package was generated"
                                : outcome == GenerateOutcome::WithErrors ? "the package has errors"
                                : outcome == GenerateOutcome::Cancelled
                                    ? "the generation was cancelled; nothing was put in place"
                                    : "the package could not be written; nothing was put in place";
    log.summary(status, meaning);
    context.out << log.summaryText(status, meaning) << '\n';
    return status;
  };
}

}  // namespace vandrel::builder::cli
