// A program that the end-to-end cases start inside a machine: it appends one line to the file
// named by VANDREL_RECORDER_LOG with the command line it received and the dialogs the
// transcript held when it started ("kind" or "kind:code", comma-separated).
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string field(const std::string& line, const std::string& name) {
  std::string key = "\"" + name + "\":";
  std::size_t at = line.find(key);
  if (at == std::string::npos) return {};
  at += key.size();
  std::size_t end = line.find_first_of(",}", at);
  std::string value = line.substr(at, end - at);
  if (!value.empty() && value.front() == '"') value = value.substr(1, value.size() - 2);
  return value;
}

std::string transcriptSummary() {
  const char* path = std::getenv("VANDREL_TRANSCRIPT");
  if (!path) return {};
  std::ifstream in(path);
  std::string line, summary;
  while (std::getline(in, line)) {
    std::string item = field(line, "kind");
    std::string code = field(line, "code");
    if (!code.empty()) item += ":" + code;
    summary += (summary.empty() ? "" : ",") + item;
  }
  return summary;
}

}  // namespace

int main(int argc, char** argv) {
  std::string arguments;
  for (int i = 1; i < argc; ++i) arguments += (i > 1 ? " " : "") + std::string(argv[i]);
  const char* log = std::getenv("VANDREL_RECORDER_LOG");
  if (!log) return 2;
  std::ofstream out(log, std::ios::app);
  out << "args=" << arguments << "\tseen=" << transcriptSummary() << "\n";
  return 0;
}
