// case.ini of the end-to-end scenarios, read as written.
#pragma once

#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace vandrel::test {

// case.ini: sections of key=value lines, kept in order and as written (quotes, commas and
// blanks inside a value are part of it); ';' starts a comment line.
class CaseFile {
 public:
  static CaseFile parse(const std::string& text) {
    CaseFile file;
    std::istringstream in(text);
    std::string line, section;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty() || line[0] == ';') continue;
      if (line[0] == '[') {
        section = line.substr(1, line.find(']') - 1);
        file.sections_[section];
        continue;
      }
      std::size_t equals = line.find('=');
      if (equals == std::string::npos) continue;
      file.sections_[section].emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
    return file;
  }
  bool has(const std::string& section) const { return sections_.count(section) != 0; }
  std::vector<std::string> sectionNames() const {
    std::vector<std::string> out;
    for (const auto& entry : sections_) out.push_back(entry.first);
    return out;
  }
  std::vector<std::string> keys(const std::string& section) const {
    std::vector<std::string> out;
    if (auto it = sections_.find(section); it != sections_.end()) {
      for (const auto& entry : it->second) out.push_back(entry.first);
    }
    return out;
  }
  std::optional<std::string> value(const std::string& section, const std::string& key) const {
    if (auto it = sections_.find(section); it != sections_.end()) {
      for (const auto& entry : it->second) {
        if (entry.first == key) return entry.second;
      }
    }
    return std::nullopt;
  }

 private:
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> sections_;
};

}  // namespace vandrel::test
