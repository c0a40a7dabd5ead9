// Names and texts of dialogs shared by the backends and the transcript.
#include "ui/dialog_text.h"

#include <algorithm>
#include <cctype>

#include "platform/text/text_rules.h"

namespace vandrel::ui {

namespace {

struct AnswerName {
  Answer answer;
  const char* name;
};

constexpr AnswerName kAnswerNames[] = {
    {Answer::Yes, "Yes"},       {Answer::No, "No"}, {Answer::Cancel, "Cancel"},
    {Answer::OK, "OK"},         {Answer::YesToAll, "YesToAll"},
};

std::string fieldText(const Field& field) {
  std::string label = stripMnemonic(field.label);
  std::string out;
  switch (field.kind) {
    case Field::Kind::Text:
      out = label + " " + field.value;
      break;
    case Field::Kind::Check:
      out = std::string(field.checked ? "[x] " : "[ ] ") + label;
      break;
    case Field::Kind::CheckList:
      out = label;
      for (size_t i = 0; i < field.items.size(); ++i) {
        bool on = i < field.itemChecked.size() && field.itemChecked[i];
        if (!out.empty()) out += "\n";
        out += std::string(on ? "[x] " : "[ ] ") + field.items[i];
      }
      break;
    case Field::Kind::Radio:
      out = label;
      for (size_t i = 0; i < field.items.size(); ++i) {
        if (!out.empty()) out += "\n";
        out += std::string(static_cast<int>(i) == field.selected ? "(o) " : "( ) ") +
               stripMnemonic(field.items[i]);
      }
      break;
  }
  return out;
}

}  // namespace

std::vector<Answer> buttonsOf(Buttons buttons) {
  switch (buttons) {
    case Buttons::OK: return {Answer::OK};
    case Buttons::YesNo: return {Answer::Yes, Answer::No};
    case Buttons::YesNoCancel: return {Answer::Yes, Answer::No, Answer::Cancel};
    case Buttons::YesYesToAllNo: return {Answer::Yes, Answer::YesToAll, Answer::No};
    case Buttons::OKCancel: return {Answer::OK, Answer::Cancel};
  }
  return {Answer::OK};
}

Answer defaultAnswer(const Message& message) {
  std::vector<Answer> set = buttonsOf(message.buttons);
  if (message.defaultButton < 0 || message.defaultButton >= static_cast<int>(set.size())) {
    return set.front();
  }
  return set[message.defaultButton];
}

bool isQuestion(const Message& message) { return buttonsOf(message.buttons).size() > 1; }

bool hasButton(const Message& message, Answer answer) {
  std::vector<Answer> set = buttonsOf(message.buttons);
  return std::find(set.begin(), set.end(), answer) != set.end();
}

std::string answerName(Answer answer) {
  for (const AnswerName& entry : kAnswerNames) {
    if (entry.answer == answer) return entry.name;
  }
  return "OK";
}

std::optional<Answer> parseAnswer(std::string_view text) {
  std::string wanted = text::toLower(text::trim(text, text::kWhiteSpace));
  for (const AnswerName& entry : kAnswerNames) {
    if (text::toLower(entry.name) == wanted) return entry.answer;
  }
  return std::nullopt;
}

std::string buttonsName(Buttons buttons) {
  switch (buttons) {
    case Buttons::OK: return "OK";
    case Buttons::YesNo: return "YesNo";
    case Buttons::YesNoCancel: return "YesNoCancel";
    case Buttons::YesYesToAllNo: return "YesYesToAllNo";
    case Buttons::OKCancel: return "OKCancel";
  }
  return "OK";
}

std::string iconName(Icon icon) {
  switch (icon) {
    case Icon::None: return "none";
    case Icon::Question: return "question";
    case Icon::Stop: return "stop";
    case Icon::Exclamation: return "exclamation";
    case Icon::Information: return "information";
  }
  return "none";
}

std::string programName(Program program) {
  switch (program) {
    case Program::Setup: return "setup";
    case Program::Uninstall: return "uninstall";
    case Program::Builder: return "builder";
  }
  return "setup";
}

std::string fieldAnswer(const Field& field) {
  switch (field.kind) {
    case Field::Kind::Text: return field.value;
    case Field::Kind::Check: return field.checked ? "1" : "0";
    case Field::Kind::Radio: return std::to_string(field.selected);
    case Field::Kind::CheckList: {
      std::string keys;
      for (size_t i = 0; i < field.items.size(); ++i) {
        if (i >= field.itemChecked.size() || !field.itemChecked[i]) continue;
        if (!keys.empty()) keys += ",";
        keys += i < field.itemKeys.size() ? field.itemKeys[i] : field.items[i];
      }
      return keys;
    }
  }
  return "";
}

std::string stripMnemonic(std::string_view label) {
  std::string out;
  out.reserve(label.size());
  for (size_t i = 0; i < label.size(); ++i) {
    if (label[i] == '&' && i + 1 < label.size()) {
      ++i;  // "&x" shows x underlined; "&&" shows one ampersand
    }
    out += label[i];
  }
  return out;
}

std::string pageText(const Page& page, const std::vector<Field>& fields) {
  std::string out = page.text;
  for (const Field& field : fields) {
    std::string shown = fieldText(field);
    if (shown.empty()) continue;
    if (!out.empty()) out += "\n";
    out += shown;
  }
  return out;
}

std::string pageActionName(const Page& page, const PageResult& result) {
  switch (result.action) {
    case PageResult::Action::Back: return "Back";
    case PageResult::Action::Next: return "Next";
    case PageResult::Action::Finish: return "Finish";
    case PageResult::Action::Cancel: return "Cancel";
    case PageResult::Action::PageButton:
      if (result.pageButton >= 0 && result.pageButton < static_cast<int>(page.actions.size())) {
        return stripMnemonic(page.actions[result.pageButton]);
      }
      return "PageButton";
  }
  return "Cancel";
}

PageResult::Action forwardAction(const Page& page) {
  if (!page.finish.empty()) return PageResult::Action::Finish;
  if (!page.next.empty()) return PageResult::Action::Next;
  return PageResult::Action::Cancel;
}

}  // namespace vandrel::ui
