// One-line JSON objects for the transcript.
#include "ui/json_line.h"

#include <cstdio>

#include "platform/code_page.h"

namespace vandrel::ui {

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (byte < 0x20 || byte >= 0x7f) {
          // Written as the character the code page byte stands for, so that a JSON reader
          // gets the text as the user saw it; the line itself stays ASCII.
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x",
                        static_cast<unsigned>(platform::cp1252Char(byte)));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

JsonLine& JsonLine::raw(std::string_view key, const std::string& json) {
  if (!body_.empty()) body_ += ",";
  body_ += jsonString(key) + ":" + json;
  return *this;
}

JsonLine& JsonLine::add(std::string_view key, std::string_view text) {
  return raw(key, jsonString(text));
}

JsonLine& JsonLine::add(std::string_view key, const std::optional<std::string>& text) {
  return raw(key, text ? jsonString(*text) : std::string("null"));
}

JsonLine& JsonLine::add(std::string_view key, long number) {
  return raw(key, std::to_string(number));
}

JsonLine& JsonLine::add(std::string_view key, const std::vector<bool>& flags) {
  std::string json = "[";
  for (size_t i = 0; i < flags.size(); ++i) {
    if (i) json += ",";
    json += flags[i] ? "true" : "false";
  }
  return raw(key, json + "]");
}

JsonLine& JsonLine::add(std::string_view key, const std::vector<std::string>& texts) {
  std::string json = "[";
  for (size_t i = 0; i < texts.size(); ++i) {
    if (i) json += ",";
    json += jsonString(texts[i]);
  }
  return raw(key, json + "]");
}

JsonLine& JsonLine::add(std::string_view key,
                        const std::vector<std::pair<std::string, std::string>>& map) {
  std::string json = "{";
  for (size_t i = 0; i < map.size(); ++i) {
    if (i) json += ",";
    json += jsonString(map[i].first) + ":" + jsonString(map[i].second);
  }
  return raw(key, json + "}");
}

JsonLine& JsonLine::addNull(std::string_view key) { return raw(key, "null"); }
JsonLine& JsonLine::addTrue(std::string_view key) { return raw(key, "true"); }

}  // namespace vandrel::ui
