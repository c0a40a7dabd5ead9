// Staged files left by killed writes, and their removal.
#include "platform/emulated/staged_files.h"

#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <fstream>
#include <mutex>
#include <optional>
#include <set>

namespace fs = std::filesystem;

namespace vandrel::platform::emulated {
namespace {

// How much earlier than its process's start a staged file must have been written before it
// counts as another process's: the start time read from /proc is exact to a clock tick, the
// boot time it is counted from to a little less than that.
constexpr double kStartMargin = 2.0;

double seconds(const timespec& t) { return double(t.tv_sec) + double(t.tv_nsec) / 1e9; }

// What /proc tells of a running process: whether it has ended (a zombie nobody has waited
// for yet: a killed program's child is one until the system reaps it) and when it started,
// in seconds since the epoch.
struct ProcessInfo {
  bool ended = false;
  double started = 0;
};

std::optional<ProcessInfo> processInfo(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  // The name (field 2) is in parentheses and may hold blanks: the fields are counted after
  // its closing one. The state is field 3, the start time (clock ticks since boot) field 22.
  std::size_t at = line.rfind(')');
  if (at == std::string::npos) return std::nullopt;
  ProcessInfo info;
  int field = 2;
  unsigned long long ticks = 0;
  bool found = false;
  for (std::size_t i = at + 1; i < line.size() && !found;) {
    while (i < line.size() && line[i] == ' ') ++i;
    std::size_t end = line.find(' ', i);
    if (end == std::string::npos) end = line.size();
    ++field;
    if (field == 3) info.ended = line.compare(i, end - i, "Z") == 0 || line.compare(i, end - i, "X") == 0;
    if (field == 22) found = std::from_chars(line.data() + i, line.data() + end, ticks).ec == std::errc();
    i = end;
  }
  long hertz = ::sysconf(_SC_CLK_TCK);
  timespec now{}, sinceBoot{};
  if (!found || hertz <= 0 || ::clock_gettime(CLOCK_REALTIME, &now) != 0 ||
      ::clock_gettime(CLOCK_BOOTTIME, &sinceBoot) != 0)
    return std::nullopt;
  info.started = seconds(now) - seconds(sinceBoot) + double(ticks) / double(hertz);
  return info;
}

// The process id a staged name carries: the digits after the prefix, up to the next "-".
std::optional<pid_t> stagerOf(const std::string& name) {
  if (!isStaged(name)) return std::nullopt;
  const char* first = name.data() + kStagedPrefix.size();
  const char* last = name.data() + name.size();
  long id = 0;
  auto [end, error] = std::from_chars(first, last, id);
  if (error != std::errc() || end == first || end == last || *end != '-' || id <= 0) return std::nullopt;
  return pid_t(id);
}

}  // namespace

std::string stagedName(unsigned long n) {
  return std::string(kStagedPrefix) + std::to_string(::getpid()) + "-" + std::to_string(n);
}

bool isAbandoned(const fs::path& staged) {
  std::optional<pid_t> stager = stagerOf(staged.filename().string());
  if (!stager || *stager == ::getpid()) return false;
  if (::kill(*stager, 0) != 0 && errno == ESRCH) return true;
  struct stat st;
  if (::lstat(staged.c_str(), &st) != 0) return false;
  std::optional<ProcessInfo> process = processInfo(*stager);
  return process && (process->ended || seconds(st.st_mtim) + kStartMargin < process->started);
}

void sweepAbandonedOnce(const fs::path& folder) {
  static std::mutex guard;
  static std::set<fs::path> swept;
  {
    std::lock_guard<std::mutex> lock(guard);
    if (!swept.insert(folder).second) return;
  }
  std::error_code ec;
  for (fs::directory_iterator entry(folder, ec), end; !ec && entry != end; entry.increment(ec)) {
    if (isAbandoned(entry->path())) ::unlink(entry->path().c_str());
  }
}

}  // namespace vandrel::platform::emulated
