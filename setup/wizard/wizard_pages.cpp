// What each wizard page shows: texts, fields and buttons.
#include "script/size_text.h"
#include "setup/strings/string_ids.h"
#include "setup/wizard/wizard.h"
#include "ui/accelerators.h"
#include "ui/page_lines.h"
#include "ui/shown_text.h"

namespace vandrel::setup {
namespace {

// The layout of each page, in the order of WizardPage.
constexpr ui::PageLayout kLayouts[] = {
    ui::PageLayout::First,      ui::PageLayout::Notice,  ui::PageLayout::Licence,
    ui::PageLayout::Registration, ui::PageLayout::Components, ui::PageLayout::Sharing,
    ui::PageLayout::Destination};

// The page skeleton: caption, id and the Back/Next/Finish buttons of the page.
ui::Page pageFrame(WizardPage page, const std::string& caption, const script::StringTable& s) {
  ui::Page shown;
  shown.id = wizardPageId(page);
  shown.layout = kLayouts[static_cast<int>(page)];
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
  ui::Page shown = pageContents(page);
  // Alt and a letter means one control: the page's own texts keep theirs, the frame's
  // buttons give way ("Do &not share" and "&Next >").
  ui::settleFrameAccelerators(shown);
  return shown;
}

ui::Page Wizard::pageContents(WizardPage page) {
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
  // The string is the page's lines: the welcome, the lines about the wizard, the hint.
  std::vector<std::string> lines = ui::splitLines(shown.text);
  shown.heading = lines.front();
  if (lines.size() > 1) {
    shown.footer = lines.back();
    shown.paragraphs.assign(lines.begin() + 1, lines.end() - 1);
  }
  return shown;
}

ui::Page Wizard::noticePage() {
  const script::StringTable& s = dialogs_.strings();
  ui::Page shown = pageFrame(WizardPage::Notice, settings_.caption, s);
  shown.heading = s.get(sid::WelcomeTo) + state_.appName;
  shown.paragraphs = {s.get(sid::AdviceText), settings_.notice};
  shown.footer = s.get(sid::ClickNext);
  shown.text = shown.heading + "\n" + shown.paragraphs[0] + "\n" + shown.paragraphs[1] + "\n" +
               shown.footer;
  // The script's own notice stands in a label of a few lines.
  shown.paragraphs[1] = ui::boundedText(settings_.notice, ui::kLabelText, s.get(sid::TextShortened));
  return shown;
}

ui::Page Wizard::licencePage() {
  const script::StringTable& s = dialogs_.strings();
  ui::Page shown = pageFrame(WizardPage::Licence, settings_.caption, s);
  shown.heading = s.get(sid::LicenceHeading);
  shown.text = shown.heading + "\n" + settings_.licenceText;
  // The licence file may hold anything: its box shows a bounded part of it.
  shown.longText =
      ui::boundedText(settings_.licenceText, ui::kScrollingText, s.get(sid::TextShortened));
  shown.next = s.item(sid::LicenceButtons, 1);
  shown.cancel = s.item(sid::LicenceButtons, 2);
  return shown;
}

ui::Page Wizard::registrationPage() {
  const script::StringTable& s = dialogs_.strings();
  ui::Page shown = pageFrame(WizardPage::Registration, settings_.caption, s);
  shown.heading = s.get(sid::RegistrationIntro);
  shown.footer = s.get(sid::ClickNext);
  shown.text = shown.heading + "\n" + s.get(sid::UserNameLabel) + "\n" + s.get(sid::CompanyLabel) +
               "\n" + s.get(sid::SerialLabel) + "\n" + shown.footer;
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
  shown.heading = s.get(sid::ComponentsIntro);
  shown.footer = s.get(sid::ComponentsHint);
  shown.text = shown.heading;
  for (std::size_t k = 0; k < state.optionalDirectories.size(); ++k) {
    std::string label = k < state.directoryLabels.size() ? state.directoryLabels[k] : "?";
    list.items.push_back(label);
    list.itemKeys.push_back(std::to_string(state.optionalDirectories[k]));
    list.itemChecked.push_back(values_.checked[k]);
    shown.text += "\n" + label;
  }
  shown.text += "\n" + shown.footer;
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
  shown.heading = s.get(sid::SharingQuestion);
  shown.footer = s.get(sid::SharingNote);
  shown.text = shown.heading + "\n" + choice.items[0] + "\n" + choice.items[1] + "\n" + shown.footer;
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
  shown.paragraphs = {s.get(sid::DestinationIntro), s.get(sid::DestinationKeep),
                      s.get(sid::DestinationChange)};
  shown.rows = {{s.get(sid::SpaceRequired), requiredText}, {s.get(sid::SpaceAvailable), availableText}};
  shown.text = shown.paragraphs[0] + "\n" + shown.paragraphs[1] + "\n" + shown.paragraphs[2] + "\n" +
               s.get(sid::InstallFolderBox) + ": " + values_.folder;
  for (const ui::LabelValue& row : shown.rows) shown.text += "\n" + row.label + " " + row.value;
  const std::string& line = values_.folderLine.empty() ? values_.folder : values_.folderLine;
  shown.fields.push_back(textField("Folder", s.get(sid::InstallFolderBox), line));
  ui::Field backup;
  backup.kind = ui::Field::Kind::Check;
  backup.name = "Backup";
  backup.label = s.get(sid::BackupBox);
  backup.checked = values_.backup;
  shown.fields.push_back(backup);
  shown.actions = {s.get(sid::ChangeButton)};
  shown.facts = settings_.destinationFacts;
  return shown;
}

}  // namespace vandrel::setup
