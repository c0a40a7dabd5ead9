// Reading Script.vrx values through the platform's profile functions.
#pragma once

#include <optional>
#include <string>

#include "platform/profile.h"

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
  void setPath(std::string path) { path_ = std::move(path); }

  // Setup engine form: a key that is missing or empty gives def; values are cut to 258
  // characters.
  std::string value(const std::string& section, const std::string& key,
                    const std::string& def) const;
  // value() read as a leading-digits integer.
  long number(const std::string& section, const std::string& key, const std::string& def) const;

  // Uninstaller form: text with a 260-byte buffer and the empty text as default; counts
  // through the profile integer read with default 0.
  std::string text(const std::string& section, const std::string& key) const;
  int count(const std::string& section, const std::string& key) const;

  // Writes a value into the script (the setup's added sections); no value deletes the key.
  bool write(const std::string& section, const std::string& key,
             const std::optional<std::string>& value);

 private:
  platform::Profile& profile_;
  std::string path_;
};

}  // namespace vandrel::script
