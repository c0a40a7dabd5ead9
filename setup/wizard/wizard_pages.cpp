// What each wizard page shows: texts, fields and buttons.
#include "script/size_text.h"
#include "setup/strings/string_ids.h"
#include "setup/wizard/wizard.h"

namespace vandrel::setup {
namespace {

// The page skeleton: caption, id and the Back/Next/Finish buttons of the page.
ui::Page pageFrame(WizardPage page, const std::string& caption, const script::StringTable& s) {
  ui::Page shown;
  shown.id = wizardPageId(page);
  shown.caption = caption;
  shown.back = page != WizardPage::First;
  shown.next = s.get(sid::NextButton);
  shown.cancel = s.get(sid::CancelButton);
  if (page == WizardPage::Destination) {
    shown.next.clear();
    shown.finish = s.get(sid::FinishButton);
  }
  return shown;
}

ui::Field textField(const std::string& name, const std::string& label, const std::string& value) {
  ui::Field field;
  field.kind = ui::Field::Kind::Text;
  field.name = name;
  field.label = label;
  field.value = value;
  return field;
}

}  // namespace

ui::Page Wizard::buildPage(WizardPage page) {
  switch (page) {
    case WizardPage::First: return firstPage();
    case WizardPage::Notice: return noticePage();
    case WizardPage::Licence: return licencePage();
    case WizardPage::Registration: return registrationPage();
    case WizardPage::Components: return componentsPage();
    case WizardPage::Sharing: return sharingPage();
    case WizardPage::Destination: return destinationPage();
  }
  return {};
}

ui::Page Wizard::firstPage() {
  const script::StringTable& s = dialogs_.strings();
  ui::Page shown = pageFrame(WizardPage::First, settings_.caption, s);
  shown.text = s.format(sid::FirstPageTexts, state_.appName);
  return shown;
}

ui::Page Wizard::noticePage() {
  const script::StringTable& s = dialogs_.strings();
  ui::Page shown = pageFrame(WizardPage::Notice, settings_.caption, s);
  shown.text = s.get(sid::WelcomeTo) + state_.appName + "\n" + s.get(sid::AdviceText) +
               "\n" + settings_.notice + "\n" + s.get(sid::ClickNext);
  return shown;
}

ui::Page Wizard::licencePage() {
  const script::StringTable& s = dialogs_.strings();
  ui::Page shown = pageFrame(WizardPage::Licence, settings_.caption, s);
  shown.text = s.get(sid::LicenceHeading) + "\n" + settings_.licenceText;
  shown.next = s.item(sid::LicenceButtons, 1);
  shown.cancel = s.item(sid::LicenceButtons, 2);
  return shown;
}

ui::Page Wizard::registrationPage() {
  const script::StringTable& s = dialogs_.strings();
  ui::Page shown = pageFrame(WizardPage::Registration, settings_.caption, s);
  shown.text = s.get(sid::RegistrationIntro) + "\n" + s.get(sid::UserNameLabel) + "\n" +
               s.get(sid::CompanyLabel) + "\n" + s.get(sid::SerialLabel) + "\n" +
               s.get(sid::ClickNext);
  shown.fields.push_back(textField("UserName", s.get(sid::UserNameLabel), values_.userName));
  shown.fields.push_back(textField("Company", s.get(sid::CompanyLabel), values_.company));
  shown.fields.push_back(textField("Serial", s.get(sid::SerialLabel), values_.serial));
  return shown;
}

ui::Page Wizard::componentsPage() {
  const script::StringTable& s = dialogs_.strings();
  const SetupState& state = state_;
  ui::Page shown = pageFrame(WizardPage::Components, settings_.caption, s);
  ui::Field list;
  list.kind = ui::Field::Kind::CheckList;
  list.name = "Components";
  list.label = s.get(sid::ComponentsLabel);
  shown.text = s.get(sid::ComponentsIntro);
  for (std::size_t k = 0; k < state.optionalDirectories.size(); ++k) {
    std::string label = k < state.directoryLabels.size() ? state.directoryLabels[k] : "?";
    list.items.push_back(label);
    list.itemKeys.push_back(std::to_string(state.optionalDirectories[k]));
    list.itemChecked.push_back(values_.checked[k]);
    shown.text += "\n" + label;
  }
  shown.text += "\n" + s.get(sid::ComponentsHint);
  shown.fields.push_back(list);
  return shown;
}

ui::Page Wizard::sharingPage() {
  const script::StringTable& s = dialogs_.strings();
  ui::Page shown = pageFrame(WizardPage::Sharing, settings_.caption, s);
  ui::Field choice;
  choice.kind = ui::Field::Kind::Radio;
  choice.name = "Sharing";
  choice.label = s.get(sid::SharingQuestion);
  choice.items = {s.get(sid::ShareChoice), s.get(sid::DontShareChoice)};
  choice.itemKeys = {"0", "1"};
  choice.selected = values_.sharing;
  shown.text = s.get(sid::SharingQuestion) + "\n" + choice.items[0] + "\n" + choice.items[1] +
               "\n" + s.get(sid::SharingNote);
  shown.fields.push_back(choice);
  return shown;
}

std::string Wizard::freeSpaceText(const std::string& folder) {
  if (folder.empty()) return "0K";
  std::string root = std::string(1, folder[0]) + ":\\";
  std::optional<platform::DiskSpace> space = files_.diskFreeSpace(root);
  if (!space) return "0K";
  return script::sizeText(static_cast<float>(space->freeBytes()));
}

ui::Page Wizard::destinationPage() {
  const script::StringTable& s = dialogs_.strings();
  ui::Page shown = pageFrame(WizardPage::Destination, settings_.caption, s);
  storeSelection();
  long long required = copyTotal_ ? copyTotal_(state_) : 0;
  std::string requiredText = script::sizeText(static_cast<float>(required));
  std::string availableText = freeSpaceText(values_.folder);
  shown.text = s.get(sid::DestinationIntro) + "\n" + s.get(sid::DestinationKeep) + "\n" +
               s.get(sid::DestinationChange) + "\n" + s.get(sid::InstallFolderBox) + ": " +
               values_.folder + "\n" + s.get(sid::SpaceRequired) + " " + requiredText + "\n" +
               s.get(sid::SpaceAvailable) + " " + availableText;
  shown.fields.push_back(textField("Folder", s.get(sid::InstallFolderBox), values_.folder));
  ui::Field backup;
  backup.kind = ui::Field::Kind::Check;
  backup.name = "Backup";
  backup.label = s.get(sid::BackupBox);
  backup.checked = values_.backup;
  shown.fields.push_back(backup);
  shown.actions = {s.get(sid::ChangeButton)};
  return shown;
}

}  // namespace vandrel::setup
