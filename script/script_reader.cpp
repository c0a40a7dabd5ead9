// Script.vrx values read and written through the profile functions.
#include "script/script_reader.h"

#include "script/list_item.h"

namespace vandrel::script {

std::string ScriptReader::value(const std::string& section, const std::string& key,
                                const std::string& def) const {
  // Read with an empty default so that a present-but-empty value and a missing key look the
  // same; the caller's default then applies to both.
  std::string text = profile_.getString(path_, section, key, "", kValueLimit);
  return text.empty() ? def : text;
}

long ScriptReader::number(const std::string& section, const std::string& key,
                          const std::string& def) const {
  return readInt(value(section, key, def));
}

std::string ScriptReader::text(const std::string& section, const std::string& key) const {
  return profile_.getString(path_, section, key, "", kValueBuffer);
}

int ScriptReader::count(const std::string& section, const std::string& key) const {
  return profile_.getInt(path_, section, key, 0);
}

bool ScriptReader::write(const std::string& section, const std::string& key,
                         const std::optional<std::string>& value) {
  return profile_.writeString(path_, section, key, value);
}

}  // namespace vandrel::script
