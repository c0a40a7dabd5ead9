// The action log: lines appended and flushed one by one, counts kept for the summary.
#include "ui/action_log.h"

#include <cstdlib>
#include <filesystem>

#include "platform/host_output.h"
#include "platform/stop_point.h"
#include "ui/dialog_text.h"

namespace vandrel::ui {

ActionLog::ActionLog(Program program, std::string path, std::FILE* err)
    : program_(program), path_(std::move(path)), err_(err) {}

std::string ActionLog::pathFromEnvironment() {
  const char* log = std::getenv("VANDREL_LOG");
  if (log && *log) return log;
  const char* transcript = std::getenv("VANDREL_TRANSCRIPT");
  if (!transcript || !*transcript) return "";
  std::filesystem::path beside(transcript);
  beside.replace_extension(".actions.jsonl");
  return beside.string();
}

namespace {
// Room for a whole line in the stream's buffer, so that each line reaches the file in one
// write: programs of one run appending to the same log never cut into each other's lines.
constexpr std::size_t kLineBuffer = 1 << 16;
}  // namespace

JsonLine ActionLog::begin() const {
  JsonLine line;
  line.add("program", programName(program_));
  if (plan_) line.addTrue("plan");
  return line;
}

void ActionLog::write(JsonLine& line) {
  if (path_.empty() || failed_) return;
  // Opened once in append mode and kept: the starter, the engine and the uninstaller of one
  // run append to the same file one after another, each line at the file's end.
  if (!out_) {
    // Never a FIFO or a device: one without a reader would hold the program for ever.
    out_.reset(platform::openHostOutput(path_, false, nullptr));
    if (!out_) {
      failed_ = true;
      std::fprintf(err_, "%s: cannot write the action log %s\n", commandName(program_), path_.c_str());
      return;
    }
    std::setvbuf(out_.get(), nullptr, _IOFBF, kLineBuffer);
  }
  std::string text = line.text();
  text += '\n';
  // Flushed at once: a program started meanwhile, or a reader after a crash, sees every line.
  if (std::fwrite(text.data(), 1, text.size(), out_.get()) != text.size() ||
      std::fflush(out_.get()) != 0) {
    failed_ = true;
    std::fprintf(err_, "%s: cannot write the action log %s\n", commandName(program_), path_.c_str());
  }
}

void ActionLog::file(const std::string& source, const std::string& target,
                     const std::string& decision, const std::string& rule, long long bytes) {
  ++decisions_[decision];
  if (path_.empty()) return platform::passStopPoint();
  JsonLine line = begin();
  line.add("action", "file")
      .add("source", source)
      .add("target", target)
      .add("decision", decision)
      .add("rule", rule)
      .add("bytes", static_cast<long>(bytes));
  write(line);
  platform::passStopPoint();
}

void ActionLog::change(const std::string& kind,
                       const std::vector<std::pair<std::string, std::string>>& where,
                       const std::optional<std::string>& old, const std::string& value,
                       bool written) {
  if (written) ++changes_[kind];
  if (path_.empty()) return platform::passStopPoint();
  JsonLine line = begin();
  line.add("action", kind);
  for (const auto& [name, text] : where) line.add(name, text);
  line.add("old", old).add("value", value).add("written", written ? "yes" : "no");
  write(line);
  platform::passStopPoint();
}

void ActionLog::removal(const std::string& kind, const std::string& target, bool removed,
                        const std::string& why) {
  if (removed) {
    ++removed_[kind];
  } else {
    ++left_;
  }
  if (path_.empty()) return platform::passStopPoint();
  JsonLine line = begin();
  line.add("action", removed ? "removed" : "left")
      .add("kind", kind)
      .add("target", target);
  if (!removed) line.add("why", why);
  write(line);
  platform::passStopPoint();
}

void ActionLog::action(const std::string& action,
                       const std::vector<std::pair<std::string, std::string>>& fields) {
  ++changes_[action];
  if (path_.empty()) return platform::passStopPoint();
  JsonLine line = begin();
  line.add("action", action);
  for (const auto& [name, text] : fields) line.add(name, text);
  write(line);
  platform::passStopPoint();
}

void ActionLog::packaged(const std::string& source, int disk, const std::string& target,
                         bool compressed, long long bytes) {
  ++packagedFiles_;
  if (bytes > 0) packagedBytes_ += bytes;
  disks_.insert(disk);
  if (path_.empty()) return platform::passStopPoint();
  JsonLine line = begin();
  line.add("action", "packaged")
      .add("source", source)
      .add("disk", static_cast<long>(disk))
      .add("target", target)
      .add("compressed", compressed ? "yes" : "no")
      .add("bytes", static_cast<long>(bytes));
  write(line);
  platform::passStopPoint();
}

std::string ActionLog::summaryText(int exitStatus, const std::string& meaning) const {
  // A plan says so first: nothing of what the sentence counts was done to the machine.
  std::string name = std::string(commandName(program_)) + (plan_ ? " (plan, nothing changed)" : "");
  if (program_ == Program::Builder) {
    return name + ": " + std::to_string(packagedFiles_) + " files copied into the package on " +
           std::to_string(disks_.size()) + (disks_.size() == 1 ? " disk, " : " disks, ") +
           std::to_string(packagedBytes_) + " bytes; exit status " + std::to_string(exitStatus) +
           ": " + meaning;
  }
  if (program_ == Program::Uninstall) {
    long removed = 0;
    for (const auto& [kind, number] : removed_) removed += number;
    auto of = [this](const char* kind) {
      auto found = removed_.find(kind);
      return found == removed_.end() ? 0L : found->second;
    };
    return name + ": " + std::to_string(removed) + " items removed (" +
           std::to_string(of("file")) + " files, " + std::to_string(of("shared-file")) +
           " shared files, " + std::to_string(of("ini")) + " INI keys, " +
           std::to_string(of("registry-value") + of("registry-key")) + " registry entries), " +
           std::to_string(left_) + " left; exit status " +
           std::to_string(exitStatus) + ": " + meaning;
  }
  auto count = [this](const char* decision) {
    auto found = decisions_.find(decision);
    return found == decisions_.end() ? 0L : found->second;
  };
  long copied = count("copied") + count("replaced");
  long kept = count("kept") + count("same-file");
  long skipped = count("missing") + count("failed");
  auto changed = [this](const char* kind) {
    auto found = changes_.find(kind);
    return std::to_string(found == changes_.end() ? 0L : found->second);
  };
  return name + ": " + std::to_string(copied) + " files copied (" +
         std::to_string(count("replaced")) + " replacing a file), " + std::to_string(kept) +
         " kept, " + std::to_string(skipped) + " skipped; " + changed("registry") +
         " registry and " + changed("ini") + " INI changes; exit status " +
         std::to_string(exitStatus) + ": " + meaning;
}

void ActionLog::summary(int exitStatus, const std::string& meaning) {
  if (path_.empty()) return;
  JsonLine line = begin();
  line.add("action", "summary");
  for (const auto& [decision, number] : decisions_) line.add(decision, number);
  for (const auto& [kind, number] : changes_) line.add(kind, number);
  if (program_ == Program::Uninstall) {
    for (const auto& [kind, number] : removed_) line.add("removed-" + kind, number);
    line.add("left", left_);
  }
  if (program_ == Program::Builder) {
    line.add("files", packagedFiles_)
        .add("disks", static_cast<long>(disks_.size()))
        .add("bytes", static_cast<long>(packagedBytes_));
  }
  line.add("exit", static_cast<long>(exitStatus))
      .add("meaning", meaning)
      .add("text", summaryText(exitStatus, meaning));
  write(line);
}

}  // namespace vandrel::ui
