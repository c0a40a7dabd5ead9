// Reading Script.vrx values through the platform's profile functions.
#pragma once

#include <optional>
#include <string>

#include "platform/profile.h"
#include "script/schema.h"

namespace vandrel::script {

// The setup engine's buffer: 260 bytes with a size limit of 259, so at most 258 characters
// of a value come back.
constexpr std::size_t kValueBuffer = 260;
constexpr std::size_t kValueLimit = 259;

class ScriptReader {
 public:
  ScriptReader(platform::Profile& profile, std::string path)
      : profile_(profile), path_(std::move(path)) {}

  const std::string& path() const { return path_; }
  // The profile functions the reads and writes go through.
  platform::Profile& profile() const { return profile_; }
  void setPath(std::string path) { path_ = std::move(path); }

  // Setup engine form: a key that is missing or empty gives def; values are cut to 258
  // characters.
  std::string value(const std::string& section, const std::string& key,
                    const std::string& def) const;
  // value() read as a leading-digits integer.
  long number(const std::string& section, const std::string& key, const std::string& def) const;
  // The same reads of a section of the format.
  std::string value(Section section, const std::string& key, const std::string& def) const {
    return value(sectionName(section), key, def);
  }
  long number(Section section, const std::string& key, const std::string& def) const {
    return number(sectionName(section), key, def);
  }
  // The number of entries of a counted section, setup engine form (default 0).
  long entryCount(Section section) const { return number(section, countKey(section), "0"); }

  // Uninstaller form: text with a 260-byte buffer and the empty text as default; counts
  // through the profile integer read with default 0.
  std::string text(const std::string& section, const std::string& key) const;
  int count(const std::string& section, const std::string& key) const;
  std::string text(Section section, const std::string& key) const {
    return text(sectionName(section), key);
  }
  int count(Section section) const { return count(sectionName(section), countKey(section)); }

  // Writes a value into the script (the setup's added sections); no value deletes the key.
  bool write(const std::string& section, const std::string& key,
             const std::optional<std::string>& value);
  bool write(Section section, const std::string& key, const std::optional<std::string>& value) {
    return write(sectionName(section), key, value);
  }

 private:
  platform::Profile& profile_;
  std::string path_;
};

}  // namespace vandrel::script
