// Names and texts of dialogs shared by the backends and the transcript: button sets, answer
// and icon names, mnemonic removal, and the text a page shows.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/interaction.h"

namespace vandrel::ui {

// The buttons of a message box, left to right.
std::vector<Answer> buttonsOf(Buttons buttons);
// The button a message takes by default: Message::defaultButton, or the first button when
// that index is out of range.
Answer defaultAnswer(const Message& message);
bool isQuestion(const Message& message);
bool hasButton(const Message& message, Answer answer);

std::string answerName(Answer answer);    // "Yes", "No", "Cancel", "OK", "YesToAll"
std::optional<Answer> parseAnswer(std::string_view text);  // any letter case, blanks trimmed
std::string buttonsName(Buttons buttons);  // "OK", "YesNo", ...
std::string iconName(Icon icon);           // "question", "stop", ..., "none"
std::string programName(Program program);  // "setup", "uninstall", "builder"

// A field's value as the transcript records it and an answers file gives it: the text, 1 or 0,
// the checked item keys joined by commas, or the chosen radio index.
std::string fieldAnswer(const Field& field);

// A label as shown: "&Next >" is "Next >", "&&" is "&".
std::string stripMnemonic(std::string_view label);

// Everything a page shows in reading order: its text, then each field's label with its value
// ("[x] item" for check boxes and check-list lines, "(o) item" for the chosen radio button).
std::string pageText(const Page& page, const std::vector<Field>& fields);

// The name of a page action as the transcript records it: "Back", "Next", "Finish",
// "Cancel", or the page button's label without its mnemonic.
std::string pageActionName(const Page& page, const PageResult& result);

// The forward button of a page: Finish when it has one, else Next (Cancel when it has
// neither, since that is then the only way off the page).
PageResult::Action forwardAction(const Page& page);

}  // namespace vandrel::ui
