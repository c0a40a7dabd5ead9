// The setup wizard's window: one frame that stays up from the first page to the last, each
// page shown as a pane inside it, so the window keeps its place and size while the pages
// change, and the questions asked on the way stand over it.
#pragma once

#include <QDialog>

#include <functional>

#include "ui/interaction.h"

namespace vandrel::ui::qt {

class PagePane;

class WizardFrame : public QDialog {
 public:
  WizardFrame();
  ~WizardFrame() override;

  // Shows the page in the frame until the user leaves it: the frame opens (centred) with the
  // first page and then stays where the user put it. Once the page is up, its picture is
  // saved as "page-<id>" and drive, when given, works its controls.
  PageResult run(const Page& page, const std::function<void(PagePane&)>& drive);

  // The page shown; null before the first.
  PagePane* pane() const { return pane_; }

  // Escape and the close box leave the page as cancelled; the frame stays up for the
  // driver's question.
  void reject() override;

 private:
  void showPane(const Page& page);

  PagePane* pane_ = nullptr;
};

}  // namespace vandrel::ui::qt
