// The keyboard accelerators of a window's labels (the letter after "&"), and the wizard frame's
// buttons giving way to a page's own controls so that no Alt+letter of a page means two things.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/interaction.h"

namespace vandrel::ui {

// The wizard frame's Back button, as every frame labels it.
inline constexpr const char* kBackLabel = "< &Back";

// The accelerator of a label, lower-cased: the character after its first single "&" ("&&"
// shows an ampersand); none when the label has no such character.
std::optional<char> acceleratorOf(std::string_view label);

// The accelerators that two or more of the labels share, each once, in the order first met.
std::vector<char> sharedAccelerators(const std::vector<std::string>& labels);

// The labels of a page's own controls that can carry an accelerator: its fields' labels (the
// text lines, the check boxes, the group box round the folder), its radio buttons and its page
// buttons.
std::vector<std::string> pageControlLabels(const Page& page);

// The labels on the page and its frame's buttons (Back, Next or Finish, Cancel) as shown.
std::vector<std::string> shownLabels(const Page& page);

// The page's frame buttons (Next, Finish, Cancel) with the "&" taken off where one of the page's
// own controls (or Back) already uses that letter: the page's texts are the setup's own, and
// Next, Finish and Cancel stay reachable by Enter and Escape. The texts themselves, and so the
// transcript and the console, are unchanged.
void settleFrameAccelerators(Page& page);

}  // namespace vandrel::ui
