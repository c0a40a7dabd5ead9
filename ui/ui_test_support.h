// Dialogs shaped like the programs' own, and a capture of what a backend writes, for the
// tests of this folder.
#pragma once

#include <cstdio>
#include <string>

#include "ui/interaction.h"

namespace vandrel::ui::testing {

inline Message question(Buttons buttons, int defaultButton = 0, std::string text = "Sure ?") {
  Message message;
  message.caption = "Setup";
  message.text = std::move(text);
  message.buttons = buttons;
  message.icon = Icon::Question;
  message.defaultButton = defaultButton;
  return message;
}

inline Field textField(std::string name, std::string label, std::string value = "") {
  Field field;
  field.kind = Field::Kind::Text;
  field.name = std::move(name);
  field.label = std::move(label);
  field.value = std::move(value);
  return field;
}

inline Page registrationPage() {
  Page page;
  page.id = "registration";
  page.caption = "Vandrel Setup v3.0";
  page.text = "Please take the time to fill-out the informations below.";
  page.back = true;
  page.fields = {textField("UserName", "&User Name:"), textField("Company", "&Organization:"),
                 textField("Serial", "&Serial number:")};
  return page;
}

inline Page componentsPage() {
  Page page;
  page.id = "components";
  page.back = true;
  Field list;
  list.kind = Field::Kind::CheckList;
  list.name = "Components";
  list.items = {"Program files", "Samples", "Help"};
  list.itemKeys = {"0", "4", "5"};
  list.itemChecked = {true, true, true};
  page.fields = {list};
  return page;
}

inline Page sharingPage() {
  Page page;
  page.id = "sharing";
  page.back = true;
  Field radio;
  radio.kind = Field::Kind::Radio;
  radio.name = "Sharing";
  radio.items = {"&Share between users", "Do &not share"};
  page.fields = {radio};
  return page;
}

inline Page destinationPage() {
  Page page;
  page.id = "destination";
  page.caption = "App";
  page.text = "Vandrel is now almost ready to install your new software.";
  page.back = true;
  page.next.clear();
  page.finish = "&Finish";
  page.actions = {"&Change"};
  Field backup;
  backup.kind = Field::Kind::Check;
  backup.name = "Backup";
  backup.label = "B&ackup replaced files";
  page.fields = {textField("Folder", "Install Folder", "C:\\Install"), backup};
  return page;
}

// A temporary file standing in for a standard stream; text() reads back what was written.
class CapturedStream {
 public:
  CapturedStream() : file_(std::tmpfile()) {}
  ~CapturedStream() { std::fclose(file_); }
  CapturedStream(const CapturedStream&) = delete;
  CapturedStream& operator=(const CapturedStream&) = delete;
  std::FILE* file() const { return file_; }
  std::string text() const {
    std::fflush(file_);
    long end = std::ftell(file_);
    std::string out(static_cast<size_t>(end), '\0');
    std::rewind(file_);
    size_t got = std::fread(out.data(), 1, out.size(), file_);
    out.resize(got);
    std::fseek(file_, 0, SEEK_END);
    return out;
  }

 private:
  std::FILE* file_;
};

}  // namespace vandrel::ui::testing
