// The list choice as a Qt dialog.
#include "ui/qt/choice_dialog.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

#include "ui/qt/dialog_kit.h"
#include "ui/scripted_interaction.h"

namespace vandrel::ui::qt {

namespace {

// A dialog with a text, a body widget and OK (and Cancel).
struct SimpleDialog {
  QDialog dialog;
  QVBoxLayout* layout;
  QPushButton* ok;
  QPushButton* cancel = nullptr;

  SimpleDialog(const std::string& caption, const std::string& text, bool withCancel)
      : layout(new QVBoxLayout(&dialog)) {
    dialog.setFont(dialogFont());
    dialog.setWindowTitle(fromCodePage(caption));
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (!text.empty()) {
      auto* label = new QLabel(fromCodePage(text), &dialog);
      label->setWordWrap(true);
      label->setTextFormat(Qt::PlainText);
      layout->addWidget(label);
    }
    body = new QVBoxLayout;
    layout->addLayout(body, 1);
    auto* row = new QHBoxLayout;
    row->addStretch();
    ok = new QPushButton("OK", &dialog);
    row->addWidget(ok);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    if (withCancel) {
      cancel = new QPushButton("Cancel", &dialog);
      row->addWidget(cancel);
      QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    }
    layout->addLayout(row);
  }
  QVBoxLayout* body;
};

}  // namespace

std::optional<int> runChoiceDialog(const Choice& choice, ScriptedInteraction* autopilot) {
  SimpleDialog d(choice.caption, choice.text, true);
  auto* list = new QListWidget(&d.dialog);
  for (const std::string& item : choice.items) list->addItem(fromCodePage(item));
  int count = static_cast<int>(choice.items.size());
  list->setCurrentRow(choice.initial >= 0 && choice.initial < count ? choice.initial : 0);
  d.body->addWidget(list);
  QObject::connect(list, &QListWidget::itemDoubleClicked, &d.dialog, &QDialog::accept);
  std::function<void()> drive;
  if (autopilot) {
    std::optional<int> wanted = autopilot->choose(choice);
    drive = [&d, list, wanted] {
      if (!wanted) return d.cancel->click();
      list->setCurrentRow(*wanted);
      d.ok->click();
    };
  }
  if (runModal(d.dialog, "choice", drive) != QDialog::Accepted) return std::nullopt;
  int row = list->currentRow();
  if (row < 0 || row >= count) return std::nullopt;
  return row;
}

}  // namespace vandrel::ui::qt
