// One JSON object written as a single line, for the transcript. Texts are code page 1252
// text: bytes from 0x80 up are written as the characters that code page gives them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vandrel::ui {

// The JSON string literal for a code page text, quotes included.
std::string jsonString(std::string_view text);

class JsonLine {
 public:
  JsonLine& add(std::string_view key, std::string_view text);
  JsonLine& add(std::string_view key, const char* text) { return add(key, std::string_view(text)); }
  JsonLine& add(std::string_view key, const std::string& text) {
    return add(key, std::string_view(text));
  }
  JsonLine& add(std::string_view key, const std::optional<std::string>& text);  // null when empty
  JsonLine& add(std::string_view key, long number);
  JsonLine& add(std::string_view key, const std::vector<bool>& flags);
  JsonLine& add(std::string_view key, const std::vector<std::string>& texts);
  JsonLine& addNull(std::string_view key);
  JsonLine& addTrue(std::string_view key);  // the JSON literal true
  // A nested object of texts, in the given order.
  JsonLine& add(std::string_view key, const std::vector<std::pair<std::string, std::string>>& map);

  // The object, without a line end.
  std::string text() const { return "{" + body_ + "}"; }

 private:
  JsonLine& raw(std::string_view key, const std::string& json);
  std::string body_;
};

}  // namespace vandrel::ui
