// The terminal backend's pages: a text screen with the fields numbered, changed by typing
// a field's number, left by typing a button's letter.
#include <cstdlib>
#include <set>

#include "ui/console_interaction.h"
#include "platform/code_page.h"
#include "platform/text/text_rules.h"
#include "ui/dialog_text.h"

namespace vandrel::ui {

namespace {

std::optional<long> typedNumber(const std::string& text) {
  std::string word(text::trim(text, text::kWhiteSpace));
  if (word.empty()) return std::nullopt;
  char* end = nullptr;
  long value = std::strtol(word.c_str(), &end, 10);
  if (*end != '\0') return std::nullopt;
  return value;
}

void showField(std::FILE* out, int number, const Field& field) {
  std::string label = platform::cp1252ToUtf8(stripMnemonic(field.label));
  switch (field.kind) {
    case Field::Kind::Text:
      std::fprintf(out, "  %d) %s %s\n", number, label.c_str(),
                   platform::cp1252ToUtf8(field.value).c_str());
      break;
    case Field::Kind::Check:
      std::fprintf(out, "  %d) [%c] %s\n", number, field.checked ? 'x' : ' ', label.c_str());
      break;
    case Field::Kind::CheckList:
    case Field::Kind::Radio:
      std::fprintf(out, "  %d) %s\n", number, label.c_str());
      for (size_t i = 0; i < field.items.size(); ++i) {
        bool on = field.kind == Field::Kind::Radio
                      ? static_cast<int>(i) == field.selected
                      : i < field.itemChecked.size() && field.itemChecked[i];
        const char* mark = field.kind == Field::Kind::Radio ? (on ? "(o)" : "( )")
                                                            : (on ? "[x]" : "[ ]");
        std::fprintf(out, "       %zu. %s %s\n", i + 1, mark,
                     platform::cp1252ToUtf8(stripMnemonic(field.items[i])).c_str());
      }
      break;
  }
}

}  // namespace

void ConsoleInteraction::showPage(const Page& page, const std::vector<Field>& fields) {
  std::fprintf(out_, "\n=== %s ===\n", platform::cp1252ToUtf8(page.caption).c_str());
  if (!page.text.empty()) std::fprintf(out_, "%s\n", platform::cp1252ToUtf8(page.text).c_str());
  for (size_t i = 0; i < fields.size(); ++i) showField(out_, static_cast<int>(i + 1), fields[i]);
  std::string keys;
  if (page.back) keys += "B = < Back   ";
  if (!page.next.empty()) keys += "N = " + stripMnemonic(page.next) + "   ";
  if (!page.finish.empty()) keys += "F = " + stripMnemonic(page.finish) + "   ";
  for (const std::string& action : page.actions) keys += stripMnemonic(action) + "   ";
  if (!page.cancel.empty()) keys += "C = " + stripMnemonic(page.cancel);
  std::fprintf(out_, "%s\n", platform::cp1252ToUtf8(keys).c_str());
  if (!fields.empty()) std::fprintf(out_, "Type a field's number to change it.\n");
}

bool ConsoleInteraction::editField(Field& field) {
  std::string label = stripMnemonic(field.label);
  switch (field.kind) {
    case Field::Kind::Text: {
      std::optional<std::string> typed = readLine(label + " (Enter keeps it) > ");
      if (!typed) return false;
      if (!typed->empty()) field.value = *typed;
      return true;
    }
    case Field::Kind::Check:
      field.checked = !field.checked;
      return true;
    case Field::Kind::Radio: {
      std::optional<std::string> typed = readLine("Number of the option > ");
      if (!typed) return false;
      auto n = typedNumber(*typed);
      if (n && *n >= 1 && *n <= static_cast<long>(field.items.size())) {
        field.selected = static_cast<int>(*n - 1);
      }
      return true;
    }
    case Field::Kind::CheckList: {
      std::optional<std::string> typed = readLine("Numbers of the lines to tick or clear (1,3) > ");
      if (!typed) return false;
      field.itemChecked.resize(field.items.size(), false);
      size_t start = 0;
      while (start <= typed->size()) {
        size_t comma = typed->find_first_of(", ", start);
        if (comma == std::string::npos) comma = typed->size();
        auto n = typedNumber(typed->substr(start, comma - start));
        if (n && *n >= 1 && *n <= static_cast<long>(field.items.size())) {
          field.itemChecked[*n - 1] = !field.itemChecked[*n - 1];
        }
        start = comma + 1;
      }
      return true;
    }
  }
  return true;
}

std::optional<PageResult::Action> ConsoleInteraction::pageCommand(const Page& page,
                                                                  const std::string& typed,
                                                                  int* pageButton) const {
  std::string word = text::toLower(text::trim(typed, text::kWhiteSpace));
  if (word.empty()) return forwardAction(page);
  if (word == "b" && page.back) return PageResult::Action::Back;
  if (word == "n" && !page.next.empty()) return PageResult::Action::Next;
  if (word == "f" && !page.finish.empty()) return PageResult::Action::Finish;
  if (word == "c" && !page.cancel.empty()) return PageResult::Action::Cancel;
  for (size_t i = 0; i < page.actions.size(); ++i) {
    if (word == text::toLower(stripMnemonic(page.actions[i]))) {
      *pageButton = static_cast<int>(i);
      return PageResult::Action::PageButton;
    }
  }
  return std::nullopt;
}

PageResult ConsoleInteraction::page(const Page& page) {
  PageResult result;
  result.fields = page.fields;
  if (!interactive_) {
    bool cancel = guard_.pageShown(page.id) == PageRepeatGuard::Verdict::Cancel;
    result.action = cancel ? PageResult::Action::Cancel : forwardAction(page);
    log("page", page.caption, page.id, pageActionName(page, result));
    return result;
  }
  for (;;) {
    showPage(page, result.fields);
    std::optional<std::string> typed = readLine("> ");
    if (!typed) break;
    if (auto n = typedNumber(*typed)) {
      if (*n >= 1 && *n <= static_cast<long>(result.fields.size())) {
        if (!editField(result.fields[*n - 1])) break;
      }
      continue;
    }
    int pageButton = -1;
    if (auto action = pageCommand(page, *typed, &pageButton)) {
      result.action = *action;
      result.pageButton = pageButton;
      return result;
    }
    std::fprintf(out_, "Unknown command: %s\n", platform::cp1252ToUtf8(*typed).c_str());
  }
  // The input ended: go on as an unattended run would.
  result.action = guard_.pageShown(page.id) == PageRepeatGuard::Verdict::Cancel
                      ? PageResult::Action::Cancel
                      : forwardAction(page);
  return result;
}

}  // namespace vandrel::ui
