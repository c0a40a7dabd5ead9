// The machine the folder picker's tests look at, for its logic and for its windows alike:
// drives C:, D: and Z: with a few folders and a file, Z: read-only as the host's drive of a
// setup's machine is; and the prompt of the destination page's picker.
#pragma once

#include <string>

#include "platform/text/text_rules.h"
#include "tests/support/memory_file_system.h"
#include "ui/interaction.h"

namespace vandrel::test {

class PickerMachineFiles : public MemoryFileSystem {
 public:
  PickerMachineFiles() {
    addDrive('D');
    addDrive('Z');
    makeDirectories("C:\\Program Files\\Accessories");
    makeDirectories("C:\\WINDOWS");
    makeDirectories("Z:\\tmp\\pkg");
    writeFile("C:\\readme.txt", "hello");
  }
  bool mayWrite(const std::string& path) override {
    return !text::equalsNoCase(path.substr(0, 1), "Z");
  }
};

inline ui::FolderPrompt destinationPrompt() {
  ui::FolderPrompt prompt{"S\xE9lection de r\xE9pertoire",
                          "Please select a folder where to install your new software.", "Junk",
                          "C:\\Install"};
  prompt.forWriting = true;
  return prompt;
}

}  // namespace vandrel::test
