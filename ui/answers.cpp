// The answers file: lookups by section and position.
#include "ui/answers.h"

#include "platform/bounded_read.h"
#include "platform/text/text_rules.h"

namespace vandrel::ui {

Answers Answers::fromText(std::string_view text) {
  Answers answers;
  answers.ini_ = platform::IniDocument::parse(text);
  return answers;
}

std::optional<Answers> Answers::fromFile(const std::string& path, std::string* error) {
  std::string reason;
  std::optional<std::string> text = platform::readHostFileBounded(path, platform::kTextFileLimit, &reason);
  if (!text) {
    if (error) *error = "the answers file " + path + " " + reason;
    return std::nullopt;
  }
  return fromText(*text);
}

std::optional<std::string> Answers::value(std::string_view section, std::string_view key) const {
  if (!ini_) return std::nullopt;
  return ini_->value(section, key);
}

std::optional<std::string> Answers::question(int number) const {
  if (auto listed = value("Answers", std::to_string(number))) return listed;
  return value("Answers", "Default");
}

bool Answers::questionListed(int number) const {
  return value("Answers", std::to_string(number)).has_value();
}

std::optional<std::string> Answers::wizard(std::string_view key) const {
  if (destination_ && text::toLower(std::string(key)) == "folder") return destination_;
  return value("Wizard", key);
}

std::optional<std::string> Answers::folder(int number) const {
  return value("Folders", std::to_string(number));
}

std::optional<std::string> Answers::destinationPick() const { return value("Folders", "Destination"); }

std::optional<std::string> Answers::choice(int number) const {
  return value("Choices", std::to_string(number));
}

std::string Answers::progressCancelOn() const {
  return value("Progress", "CancelOn").value_or("");
}

}  // namespace vandrel::ui
