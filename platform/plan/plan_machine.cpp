// A plan's machine: the overlays of files and registry, and the facilities over them.
#include "platform/plan/plan_machine.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/bounded_read.h"
#include "platform/emulated/emulated_process.h"
#include "platform/emulated/emulated_shell.h"
#include "platform/file_version_info.h"
#include "platform/ini/ini_profile.h"
#include "platform/lz_library.h"
#include "platform/plan/carry_folder.h"

namespace vandrel::platform {
namespace {

constexpr unsigned kFileNotFound = 2;
constexpr unsigned kStarted = 33;  // any value above 31 tells success
constexpr const char* kCarryList = "changes.txt";

// The machine's identity as it is; a restart is only noted.
class PlanSystem : public System {
 public:
  explicit PlanSystem(System& base) : base_(base) {}
  OsVersion version() override { return base_.version(); }
  ProcessorInfo processor() override { return base_.processor(); }
  std::optional<std::string> userName() override { return base_.userName(); }
  std::uint16_t userDefaultLangId() override { return base_.userDefaultLangId(); }
  std::uint64_t totalPhysicalMemory() override { return base_.totalPhysicalMemory(); }
  std::string windowsDirectory() override { return base_.windowsDirectory(); }
  std::string systemDirectory() override { return base_.systemDirectory(); }
  std::uint32_t desktopColour() override { return base_.desktopColour(); }
  bool exitWindows(std::uint32_t flags) override {
    if (flags & exit_flags::Reboot) restart = true;
    return true;
  }
  bool restart = false;

 private:
  System& base_;
};

}  // namespace

struct PlanMachine::Parts {
  Parts(Machine& base, CarriedStart start, PlansItself plansItself);

  // The program file a command line names, searched the Windows way over this run's files.
  std::optional<std::pair<std::string, std::string>> locate(const std::string& commandLine);
  // Runs a program file (its Windows path and contents) as a plan of its own, with this run's
  // file changes carried to it, and waits for it.
  std::optional<int> runCarried(const std::string& program, const std::string& rest, const std::string& contents);

  class PlanProcess : public Process {
   public:
    explicit PlanProcess(Parts& parts) : parts_(parts) {}
    unsigned winExec(const std::string& commandLine, int showCommand) override;
    std::optional<int> runAndWait(const std::string& commandLine) override;
    std::string moduleFileName() override {
      return parts_.module.empty() ? parts_.base.process().moduleFileName() : parts_.module;
    }
    void confineStartedPrograms(const std::string& program) override {
      parts_.base.process().confineStartedPrograms(program);
    }

   private:
    Parts& parts_;
  };

  Machine& base;
  CarriedStart start;
  PlansItself plansItself;
  OverlayFileSystem files;
  OverlayRegistry registry;
  PlanSystem system;
  IniProfile profile;
  emulated::EmulatedShell shell;
  LzLibrary lz;
  FileVersionInfo versionInfo;
  PlanProcess process;
  std::string module;  // the program's own path, when it was carried here
  std::vector<std::string> commands;
};

PlanMachine::Parts::Parts(Machine& machine, CarriedStart starter, PlansItself plans)
    : base(machine),
      start(std::move(starter)),
      plansItself(std::move(plans)),
      files(machine.files(), machine.clock()),
      registry(machine.registry(), machine.system().version().platformId == platform_id::NT),
      system(machine.system()),
      profile(files, [this] { return system.windowsDirectory(); }),
      shell(registry, files),
      lz(files),
      versionInfo(files),
      process(*this) {}

std::optional<std::pair<std::string, std::string>> PlanMachine::Parts::locate(
    const std::string& commandLine) {
  auto isFile = [this](const std::string& path) {
    std::optional<FileStatus> st = files.status(path);
    return st && !st->isDirectory();
  };
  for (const auto& [program, rest] : emulated::splitCommandLine(commandLine)) {
    std::string name = program;
    std::size_t cut = program.find_last_of("\\/:");
    if (program.find('.', cut == std::string::npos ? 0 : cut) == std::string::npos) name += ".exe";
    if (cut != std::string::npos) {
      std::string full = files.fullPath(name);
      if (!full.empty() && isFile(full)) return std::make_pair(full, rest);
      continue;
    }
    for (const std::string& dir :
         {files.currentDirectory(), system.windowsDirectory(), system.systemDirectory()}) {
      std::string candidate = dir + (dir.back() == '\\' ? "" : "\\") + name;
      if (isFile(candidate)) return std::make_pair(files.fullPath(candidate), rest);
    }
  }
  return std::nullopt;
}

unsigned PlanMachine::Parts::PlanProcess::winExec(const std::string& commandLine, int) {
  if (!parts_.locate(commandLine)) return kFileNotFound;
  parts_.commands.push_back(commandLine);
  return kStarted;
}

std::optional<int> PlanMachine::Parts::PlanProcess::runAndWait(const std::string& commandLine) {
  auto found = parts_.locate(commandLine);
  // Not among the machine's files, it may still be a host program its owner mapped: not
  // started either way.
  if (!found) {
    parts_.commands.push_back(commandLine);
    return std::nullopt;
  }
  const auto& [program, rest] = *found;
  if (parts_.files.holds(program)) {
    for (const auto& change : parts_.files.changes()) {
      if (change.kind == OverlayFileSystem::Change::Kind::File &&
          parts_.files.fullPath(change.path) == parts_.files.fullPath(program))
        return parts_.runCarried(program, rest, change.contents);
    }
    return std::nullopt;
  }
  // A program of the machine as it is runs only when it plans itself; any other (a host
  // program, one a package put there) would change what it likes.
  std::optional<std::filesystem::path> host = parts_.files.hostPath(program);
  if (host && parts_.plansItself && parts_.plansItself(*host)) {
    std::ifstream in(*host, std::ios::binary);
    std::string contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in || in.eof()) return parts_.runCarried(program, rest, contents);
  }
  parts_.commands.push_back(commandLine);
  return std::nullopt;
}

std::optional<int> PlanMachine::Parts::runCarried(const std::string& program, const std::string& rest,
                                                  const std::string& contents) {
  if (!start) return std::nullopt;
  std::error_code ec;
  std::optional<CarryFolder> carryFolder = CarryFolder::make();
  if (!carryFolder) return std::nullopt;
  const std::filesystem::path& carry = carryFolder->path();
  std::optional<int> status;
  // The program itself, as a host file that can be run.
  std::filesystem::path host = carry / "program";
  bool written = false;
  {
    std::ofstream out(host, std::ios::binary);
    out.write(contents.data(), std::streamsize(contents.size()));
    written = bool(out);
  }
  if (written && ::chmod(host.c_str(), 0700) == 0) {
    std::ofstream list(carry / kCarryList, std::ios::binary);
    list << "module\t" << program << '\n';
    int number = 0;
    for (const auto& change : files.changes()) {
      switch (change.kind) {
        case OverlayFileSystem::Change::Kind::Folder: list << "folder\t" << change.path << '\n'; break;
        case OverlayFileSystem::Change::Kind::Removed: list << "removed\t" << change.path << '\n'; break;
        case OverlayFileSystem::Change::Kind::File: {
          std::string name = std::to_string(number++);
          std::ofstream out(carry / name, std::ios::binary);
          out.write(change.contents.data(), std::streamsize(change.contents.size()));
          list << "file\t" << change.path << '\t' << name << '\n';
          break;
        }
      }
    }
    list.close();  // on disk before the program reads it
    if (list) {
      std::optional<std::filesystem::path> here = files.hostPath(files.currentDirectory());
      std::filesystem::path folder = here && std::filesystem::is_directory(*here, ec) ? *here : carry;
      status = start(host, rest.empty() ? std::nullopt : std::optional(rest), folder, carry);
    }
  }
  return status;
}

PlanMachine::PlanMachine(Machine& base, CarriedStart start, PlansItself plansItself)
    : parts_(std::make_unique<Parts>(base, std::move(start), std::move(plansItself))) {}

PlanMachine::PlanMachine(std::unique_ptr<Machine> owned, CarriedStart start, PlansItself plansItself)
    : owned_(std::move(owned)),
      parts_(std::make_unique<Parts>(*owned_, std::move(start), std::move(plansItself))) {}

PlanMachine::~PlanMachine() = default;

FileSystem& PlanMachine::files() { return parts_->files; }
Profile& PlanMachine::profile() { return parts_->profile; }
Registry& PlanMachine::registry() { return parts_->registry; }
System& PlanMachine::system() { return parts_->system; }
Shell& PlanMachine::shell() { return parts_->shell; }
Lz& PlanMachine::lz() { return parts_->lz; }
VersionInfo& PlanMachine::versionInfo() { return parts_->versionInfo; }
Process& PlanMachine::process() { return parts_->process; }
Clock& PlanMachine::clock() { return parts_->base.clock(); }
LibraryLoader& PlanMachine::libraries() { return parts_->base.libraries(); }
OverlayFileSystem& PlanMachine::overlayFiles() { return parts_->files; }
OverlayRegistry& PlanMachine::overlayRegistry() { return parts_->registry; }
bool PlanMachine::restartPlanned() const { return parts_->system.restart; }
const std::vector<std::string>& PlanMachine::commandsPlanned() const { return parts_->commands; }

bool PlanMachine::loadCarry(const std::filesystem::path& folder, std::string* reason) {
  auto fail = [reason](std::string why) {
    if (reason) *reason = std::move(why);
    return false;
  };
  std::string why;
  std::optional<std::string> listed = readHostFileBounded(folder / kCarryList, kTextFileLimit, &why);
  if (!listed) return fail(std::string(kCarryList) + " " + why);
  // What is left of the limit for the files still to read: each is read no further than it.
  std::uint64_t room = kPlanCarryLimit;
  std::istringstream list(*listed);
  std::string line;
  while (std::getline(list, line)) {
    std::istringstream fields(line);
    std::string kind, path, name;
    std::getline(fields, kind, '\t');
    std::getline(fields, path, '\t');
    std::getline(fields, name, '\t');
    if (kind == "module") {
      parts_->module = path;
      continue;
    }
    OverlayFileSystem::Change change;
    change.path = path;
    if (kind == "folder") {
      change.kind = OverlayFileSystem::Change::Kind::Folder;
    } else if (kind == "removed") {
      change.kind = OverlayFileSystem::Change::Kind::Removed;
    } else if (kind == "file") {
      std::optional<std::string> contents = readHostFileBounded(folder / name, room, &why);
      if (!contents && why == tooLarge(room)) return fail("the changes are larger than " + describeLimit(kPlanCarryLimit));
      if (!contents) return fail(name + " " + why);
      room -= contents->size();
      change.contents = std::move(*contents);
    } else {
      return fail(std::string(kCarryList) + " names an unknown change \"" + kind + "\"");
    }
    if (!parts_->files.apply(change)) return fail("the change of " + path + " cannot be applied");
  }
  return true;
}

}  // namespace vandrel::platform
