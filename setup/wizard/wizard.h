// The setup wizard: its pages in order, what each shows, how it validates, and what Finish
// leaves in the setup's state. Every page is shown through the interaction port.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "setup/common/dialogs.h"
#include "setup/common/setup_state.h"

namespace vandrel::setup {

enum class WizardPage { First, Notice, Licence, Registration, Components, Sharing, Destination };

// The page's id as the interaction port and the answers file name it ("first", "notice"...).
const char* wizardPageId(WizardPage page);

// The pages in the order shown, with the optional ones only under their condition.
std::vector<WizardPage> wizardPageOrder(bool showLicence, bool regInfo, bool hasOptional);

// What the driver prepares before the wizard runs.
struct WizardSettings {
  std::string caption;        // the sheet's caption: the install window's title
  std::string notice;         // the notice text chosen by the licence type
  bool showLicence = false;
  std::string licenceText;
  bool regInfo = true;
  std::string defaultFolder;  // the Windows folder's drive, ":\" and the default folder name
  // What the destination page was proposed from, for the transcript (an earlier installation).
  std::vector<std::pair<std::string, std::string>> destinationFacts;
};

// What the pages hold while the wizard runs.
struct WizardValues {
  std::string userName, company, serial;
  std::vector<bool> checked;  // per optional directory, in the order of the optional list
  int sharing = 0;            // 0 share between users, 1 do not share
  std::string folder;
  // The folder line as typed when it is not (yet) a folder, kept when the user answers No to
  // the cancel question; empty when the line shows the folder.
  std::string folderLine;
  bool backup = false;
  bool operator==(const WizardValues&) const = default;
};

// Total bytes that the installation would copy under the current component selection.
using CopyTotalFunction = std::function<long long(const SetupState&)>;

class Wizard {
 public:
  // The pages go through dialogs; state receives the choices; files gives the free space.
  Wizard(SetupDialogs& dialogs, SetupState& state, platform::FileSystem& files,
         WizardSettings settings, CopyTotalFunction copyTotal);

  // Runs the pages. True when the user pressed Finish: the values are then in the setup's
  // state. False when the wizard was cancelled.
  bool run();

  const std::vector<WizardPage>& order() const { return order_; }
  const WizardValues& values() const { return values_; }
  // The page as it is shown when it becomes active.
  ui::Page buildPage(WizardPage page);

 private:
  // The page's texts, fields and buttons as the setup's strings give them.
  ui::Page pageContents(WizardPage page);
  ui::Page firstPage();
  ui::Page noticePage();
  ui::Page licencePage();
  ui::Page registrationPage();
  ui::Page componentsPage();
  ui::Page sharingPage();
  ui::Page destinationPage();

  // Takes the page's fields; false (with a beep) when the page refuses to be left.
  bool leave(WizardPage page, const ui::PageResult& result);
  // Keeps what the user typed on the page without checking it: leave() checks after it, and
  // a page shown again after the cancel question holds the user's entries, not the ones it
  // opened with.
  void keepTyped(WizardPage page, const ui::PageResult& result);
  void changeFolder();
  void storeSelection();
  void finish();
  std::string freeSpaceText(const std::string& folder);

  SetupDialogs& dialogs_;
  SetupState& state_;
  platform::FileSystem& files_;
  WizardSettings settings_;
  CopyTotalFunction copyTotal_;
  std::vector<WizardPage> order_;
  WizardValues values_;
};

}  // namespace vandrel::setup
