// The wizard's page order, navigation and the values it leaves in the setup's state.
#include "setup/wizard/wizard.h"

#include <cctype>

#include "setup/strings/string_ids.h"
#include "setup/wizard/folder_picker.h"

namespace vandrel::setup {
namespace {

// A page that is shown again this many times in a row with nothing changed (a refused
// name, a refused folder, Back on the first page) ends the wizard as cancelled: an
// unattended run that cannot get past a page must end rather than ask for ever.
constexpr int kMaxUnchangedShows = 100;

const ui::Field* findField(const std::vector<ui::Field>& fields, const std::string& name) {
  for (const ui::Field& field : fields) {
    if (field.name == name) return &field;
  }
  return nullptr;
}

// A folder typed into the folder line: a drive letter, a colon, a backslash and at least one
// name; trailing backslashes are dropped. Nothing for anything else.
std::optional<std::string> typedFolder(std::string text) {
  while (text.size() > 3 && (text.back() == '\\' || text.back() == '/')) text.pop_back();
  bool drivePath = text.size() > 3 && std::isalpha(static_cast<unsigned char>(text[0])) &&
                   text[1] == ':' && (text[2] == '\\' || text[2] == '/');
  if (!drivePath) return std::nullopt;
  return text;
}

}  // namespace

const char* wizardPageId(WizardPage page) {
  switch (page) {
    case WizardPage::First: return "first";
    case WizardPage::Notice: return "notice";
    case WizardPage::Licence: return "licence";
    case WizardPage::Registration: return "registration";
    case WizardPage::Components: return "components";
    case WizardPage::Sharing: return "sharing";
    case WizardPage::Destination: return "destination";
  }
  return "";
}

std::vector<WizardPage> wizardPageOrder(bool showLicence, bool regInfo, bool hasOptional) {
  std::vector<WizardPage> order{WizardPage::First, WizardPage::Notice};
  if (showLicence) order.push_back(WizardPage::Licence);
  if (regInfo) order.push_back(WizardPage::Registration);
  if (hasOptional) order.push_back(WizardPage::Components);
  order.push_back(WizardPage::Sharing);
  order.push_back(WizardPage::Destination);
  return order;
}

Wizard::Wizard(SetupDialogs& dialogs, SetupState& state, platform::FileSystem& files,
               WizardSettings settings, CopyTotalFunction copyTotal)
    : dialogs_(dialogs), state_(state), files_(files), settings_(std::move(settings)),
      copyTotal_(std::move(copyTotal)) {
  order_ = wizardPageOrder(settings_.showLicence, settings_.regInfo,
                           !state.optionalDirectories.empty());
  values_.checked.assign(state.optionalDirectories.size(), true);
  values_.folder = settings_.defaultFolder;
}

bool Wizard::run() {
  std::size_t index = 0;
  int unchangedShows = 0;
  while (true) {
    WizardPage page = order_[index];
    ui::Page shown = buildPage(page);
    ui::PageResult result = dialogs_.ui().page(shown);
    std::size_t indexBefore = index;
    WizardValues valuesBefore = values_;

    // A backend that presses Next where the page offers Finish means Finish.
    if (result.action == ui::PageResult::Action::Next && shown.next.empty()) {
      result.action = ui::PageResult::Action::Finish;
    }
    switch (result.action) {
      case ui::PageResult::Action::Cancel:
        if (dialogs_.confirmCancel(false)) return false;
        keepTyped(page, result);
        break;
      case ui::PageResult::Action::Back:
        if (index > 0 && leave(page, result)) --index;
        break;
      case ui::PageResult::Action::Next:
        if (index + 1 < order_.size() && leave(page, result)) ++index;
        break;
      case ui::PageResult::Action::Finish:
        if (!shown.finish.empty() && leave(page, result)) {
          finish();
          return true;
        }
        break;
      case ui::PageResult::Action::PageButton:
        if (page == WizardPage::Destination && result.pageButton == 0) {
          leave(page, result);  // the backup box keeps what the user set
          changeFolder();
        }
        break;
    }
    bool unchanged = index == indexBefore && values_ == valuesBefore;
    unchangedShows = unchanged ? unchangedShows + 1 : 0;
    if (unchangedShows >= kMaxUnchangedShows) return false;
  }
}

bool Wizard::leave(WizardPage page, const ui::PageResult& result) {
  keepTyped(page, result);
  // Only a registration without a user name and a folder line that is no folder refuse to
  // be left; the page comes back with what was typed.
  bool refused = (page == WizardPage::Registration && values_.userName.empty()) ||
                 (page == WizardPage::Destination && !values_.folderLine.empty());
  if (refused) dialogs_.ui().beep();
  return !refused;
}

void Wizard::keepTyped(WizardPage page, const ui::PageResult& result) {
  const std::vector<ui::Field>& fields = result.fields;
  switch (page) {
    case WizardPage::Registration:
      if (const ui::Field* f = findField(fields, "UserName")) values_.userName = f->value;
      if (const ui::Field* f = findField(fields, "Company")) values_.company = f->value;
      if (const ui::Field* f = findField(fields, "Serial")) values_.serial = f->value;
      break;
    case WizardPage::Components:
      if (const ui::Field* f = findField(fields, "Components")) {
        const std::vector<long>& optional = state_.optionalDirectories;
        for (std::size_t i = 0; i < f->items.size() && i < f->itemChecked.size(); ++i) {
          std::string key = i < f->itemKeys.size() ? f->itemKeys[i] : std::to_string(i);
          for (std::size_t k = 0; k < optional.size(); ++k) {
            if (std::to_string(optional[k]) == key) values_.checked[k] = f->itemChecked[i];
          }
        }
      }
      storeSelection();
      break;
    case WizardPage::Sharing:
      if (const ui::Field* f = findField(fields, "Sharing")) values_.sharing = f->selected != 0;
      break;
    case WizardPage::Destination: {
      if (const ui::Field* f = findField(fields, "Backup")) values_.backup = f->checked;
      const ui::Field* f = findField(fields, "Folder");
      if (!f || f->value == values_.folder) {
        values_.folderLine.clear();
        break;
      }
      // A line that is no folder is kept as typed, for the user to mend.
      std::optional<std::string> folder = typedFolder(f->value);
      if (folder) values_.folder = *folder;
      values_.folderLine = folder ? std::string() : f->value;
      break;
    }
    default:
      break;
  }
}

void Wizard::changeFolder() {
  std::optional<std::string> picked = PickFolder(dialogs_.ui(), dialogs_.strings(), 0, values_.folder);
  if (!picked) return;
  std::optional<std::string> folder = installFolderFromPick(*picked);
  if (!folder) {
    dialogs_.ui().beep();
    return;
  }
  values_.folder = *folder;
  values_.folderLine.clear();
}

void Wizard::storeSelection() {
  SetupState& state = state_;
  state.selectedDirectories.clear();
  for (std::size_t k = 0; k < state.optionalDirectories.size(); ++k) {
    if (values_.checked[k]) state.selectedDirectories.push_back(state.optionalDirectories[k]);
  }
}

void Wizard::finish() {
  SetupState& state = state_;
  state.userName = values_.userName;
  state.company = values_.company;
  state.serial = values_.serial;
  storeSelection();
  state.shortcutScope = values_.sharing;
  state.installFolder = values_.folder;
  state.backup = values_.backup;
}

}  // namespace vandrel::setup
