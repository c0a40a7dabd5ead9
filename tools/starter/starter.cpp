// The package starter's steps.
#include "tools/starter/starter.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/bounded_read.h"
#include "platform/disk_room.h"

namespace vandrel::starter {
namespace {

// Bytes written, or the LZ library's negative error code.
long expandEngine(platform::Lz& lz, const std::string& from, const std::string& to) {
  if (lz.start() != 1) return platform::lzerror::GlobalAlloc;
  int source = lz.openFile(from, false);
  if (source < 0) {
    lz.done();
    return source;
  }
  int target = lz.openFile(to, true);
  long copied = target < 0 ? target : lz.copy(source, target);
  lz.close(source);
  if (target >= 0) lz.close(target);
  lz.done();
  return copied;
}

// The script copy is written whole where the file system can (staged and renamed over the
// old copy): a starter killed meanwhile leaves the old copy or the new one, never a part of
// the new one that reads as a shorter script. Elsewhere it is copied block by block.
bool copyFile(platform::FileSystem& files, const std::string& from, const std::string& to) {
  std::unique_ptr<platform::File> source = files.open(from, platform::OpenMode::Read);
  if (!source) return false;
  // The engine reads its script whole with the same limit: a larger file could not serve it.
  std::optional<std::string> read = platform::readBounded(*source, platform::kTextFileLimit, nullptr);
  if (!read) return false;
  const std::string& contents = *read;
  if (std::optional<bool> replaced = files.replaceWholeFile(to, contents)) return *replaced;
  std::unique_ptr<platform::File> target = files.create(to);
  if (!target) return false;
  if (target->write(contents.data(), contents.size()) == std::int64_t(contents.size())) return true;
  target.reset();
  files.deleteFile(to);  // no shorter script left to be read as the package's
  return false;
}

// A program path with blanks is quoted so that the command line splits after it.
std::string quotedProgram(const std::string& path) {
  return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

}  // namespace

int runStarter(platform::Machine& machine, const std::string& packageFolder, std::ostream& errors,
               StarterStop* stop) {
  auto stopped = [stop](StarterStop why) {
    if (stop) *stop = why;
    return 1;
  };
  // A starter run outside its package names the file it lacks, before the LZ library has a say.
  for (const char* needed : {kPackedEngine, kScript}) {
    if (!machine.files().status(packageFolder + needed)) {
      errors << "Setup: no package here: " << packageFolder << needed << " is missing\n";
      return stopped(StarterStop::NoPackage);
    }
  }
  std::string windows = machine.system().windowsDirectory();
  std::string engine = windows + "\\" + kEngineCopy;
  platform::FileSystem& files = machine.files();
  // The room the engine and its script take in the Windows folder, asked before either is
  // written; the copies an earlier run left there are replaced, so their room counts.
  std::uint64_t needed = platform::expandedSizeOf(files, packageFolder + kPackedEngine).value_or(0);
  if (auto script = files.status(packageFolder + kScript)) needed += script->size;
  for (const char* copy : {kEngineCopy, kScriptCopy}) {
    auto earlier = files.status(windows + "\\" + copy);
    if (earlier && !earlier->isDirectory()) needed -= std::min<std::uint64_t>(needed, earlier->size);
  }
  if (auto full = platform::shortageFor(files, windows, needed)) {
    errors << "Setup: cannot put the setup engine into " << windows << ": "
           << platform::describeShortage(*full) << '\n';
    return stopped(StarterStop::WindowsFolder);
  }
  long expanded = expandEngine(machine.lz(), packageFolder + kPackedEngine, engine);
  if (expanded < 0) {
    // A part of the engine must not stay behind to be started or cleaned up later.
    files.deleteFile(engine);
    errors << "Setup: cannot expand " << packageFolder << kPackedEngine << " into " << engine;
    std::uint64_t engineSize = platform::expandedSizeOf(files, packageFolder + kPackedEngine).value_or(0);
    if (auto full = platform::shortageFor(files, windows, engineSize)) {
      errors << ": " << platform::describeShortage(*full) << '\n';
    } else {
      errors << " (LZ error " << expanded << ")\n";
    }
    return stopped(StarterStop::WindowsFolder);
  }
  if (!copyFile(files, packageFolder + kScript, windows + "\\" + kScriptCopy)) {
    errors << "Setup: cannot copy " << packageFolder << kScript << " into " << windows;
    auto script = files.status(packageFolder + kScript);
    if (auto full = script ? platform::shortageFor(files, windows, script->size) : std::nullopt) {
      errors << ": " << platform::describeShortage(*full);
    }
    errors << '\n';
    return stopped(StarterStop::WindowsFolder);
  }
  std::optional<int> status =
      machine.process().runAndWait(quotedProgram(engine) + " " + packageFolder);
  if (!status) {
    errors << "Setup: cannot start " << engine << '\n';
    return stopped(StarterStop::EngineStart);
  }
  return *status;
}

}  // namespace vandrel::starter
