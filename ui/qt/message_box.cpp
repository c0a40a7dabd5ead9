// The message box and the three-button question as Qt dialogs.
#include "ui/qt/message_box.h"

#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <map>
#include <vector>

#include "paint/bitmap_resources.h"
#include "ui/dialog_text.h"
#include "ui/qt/dialog_kit.h"
#include "ui/qt/gui_services.h"
#include "ui/scripted_interaction.h"

namespace vandrel::ui::qt {

namespace {

// Windows' labels of the message box buttons.
QString buttonLabel(Answer answer) {
  switch (answer) {
    case Answer::OK: return "OK";
    case Answer::Cancel: return "Cancel";
    case Answer::Yes: return "&Yes";
    case Answer::No: return "&No";
    case Answer::YesToAll: return "Yes to &All";
  }
  return "OK";
}

// The uninstaller's shared-file question: "&Yes", "&Yes to all" and "&No" in a row under the
// text (202 x 81 units); Escape and the close box answer No.
Answer threeButtonQuestion(const Message& message, ScriptedInteraction* autopilot, QWidget* owner) {
  QDialog dialog(owner);
  DialogUnits du;
  setUpDialog(dialog, message.caption, du, 202, 81);
  placeIcon(dialog, du, ownIcon(paint::icon_id::RemovalQuestion), 10, 5);
  std::string text = message.text;
  if (!message.detail.empty()) text += "\n" + message.detail;
  placeText(dialog, du, text, 40, 10, 155, 45);
  Answer answer = Answer::No;
  struct Key {
    const char* label;
    Answer answer;
    int x;
  };
  std::map<Answer, QPushButton*> buttons;
  for (const Key& key : {Key{"&Yes", Answer::Yes, 35}, Key{"&Yes to all", Answer::YesToAll, 91},
                         Key{"&No", Answer::No, 145}}) {
    QPushButton* button = placeButton(dialog, du, key.label, key.x, 60);
    QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &answer, a = key.answer] {
      answer = a;
      dialog.accept();
    });
    buttons[key.answer] = button;
  }
  buttons[Answer::Yes]->setDefault(true);
  std::function<void()> drive;
  if (autopilot) {
    Answer wanted = autopilot->message(message);
    drive = [&buttons, wanted] {
      if (buttons.count(wanted)) buttons[wanted]->click();
    };
  }
  runModal(dialog, "question", drive);
  return answer;
}

}  // namespace

Answer runMessageBox(const Message& message, ScriptedInteraction* autopilot, QWidget* owner) {
  if (message.buttons == Buttons::YesYesToAllNo) return threeButtonQuestion(message, autopilot, owner);
  QMessageBox box(QMessageBox::NoIcon, fromCodePage(message.caption), fromCodePage(message.text),
                  QMessageBox::NoButton, owner);
  box.setFont(dialogFont());
  box.setIconPixmap(messageIcon(message.icon, box));
  if (!message.detail.empty()) box.setInformativeText(fromCodePage(message.detail));
  std::map<QAbstractButton*, Answer> answers;
  std::vector<Answer> buttons = buttonsOf(message.buttons);
  Answer preset = defaultAnswer(message);
  for (Answer answer : buttons) {
    QPushButton* button = box.addButton(buttonLabel(answer), QMessageBox::AcceptRole);
    answers[button] = answer;
    if (answer == preset) box.setDefaultButton(button);
    if (answer == Answer::Cancel || (buttons.size() == 1)) box.setEscapeButton(button);
  }
  std::function<void()> drive;
  if (autopilot) {
    Answer wanted = autopilot->message(message);
    drive = [&box, &answers, wanted] {
      for (auto& [button, answer] : answers) {
        if (answer == wanted) return button->click();
      }
    };
  }
  QTimer::singleShot(0, &box, [&box, &drive, question = isQuestion(message)] {
    processScreenshots().save(box, question ? "question" : "message");
    if (drive) drive();
  });
  box.exec();
  auto chosen = answers.find(box.clickedButton());
  if (chosen != answers.end()) return chosen->second;
  // Closed without a button: Cancel where there is one, else the default.
  return hasButton(message, Answer::Cancel) ? Answer::Cancel : preset;
}

}  // namespace vandrel::ui::qt
