// The answers file of unattended runs: an INI text read with the profile rules, giving the
// answers to questions, wizard pages, folder prompts and list choices.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ini/ini_document.h"

namespace vandrel::ui {

class Answers {
 public:
  Answers() = default;  // no answers at all: every dialog takes its default
  static Answers fromText(std::string_view text);
  // Reads the file at a host path; nullopt with a one-line reason when it cannot be read.
  static std::optional<Answers> fromFile(const std::string& path, std::string* error);

  // [Answers] n (from 1), then Default= for the rest; nullopt when neither is given.
  std::optional<std::string> question(int number) const;
  // The question has an entry of its own in [Answers] (not only the Default= that answers
  // every question beyond the list).
  bool questionListed(int number) const;
  // [Wizard] key; nullopt when absent.
  std::optional<std::string> wizard(std::string_view key) const;
  // [Folders] n and [Choices] n (from 1); nullopt when absent, empty to cancel.
  std::optional<std::string> folder(int number) const;
  std::optional<std::string> choice(int number) const;
  // [Folders] Destination: the folder chosen with the destination page's Change; nullopt when
  // Change is not to be pressed.
  std::optional<std::string> destinationPick() const;
  // [Progress] CancelOn; empty when not given.
  std::string progressCancelOn() const;

  // The destination folder given on the command line: [Wizard] Folder from now on, whatever
  // the file says.
  void setDestination(std::string folder) { destination_ = std::move(folder); }

 private:
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  std::optional<platform::IniDocument> ini_;
  std::optional<std::string> destination_;
};

}  // namespace vandrel::ui
