// The unattended backend.
#include "ui/scripted_interaction.h"

#include <cstdlib>
#include <set>

#include "platform/code_page.h"
#include "platform/text/text_rules.h"
#include "ui/dialog_text.h"

namespace vandrel::ui {

namespace {

// A directory number as written in an answer or an item key: "04" names the same line as "4".
std::string normalKey(std::string_view text) {
  std::string key(text::trim(text, text::kWhiteSpace));
  bool digits = !key.empty() && key.find_first_not_of("0123456789") == std::string::npos;
  if (!digits) return key;
  size_t first = key.find_first_not_of('0');
  return first == std::string::npos ? "0" : key.substr(first);
}

std::set<std::string> commaKeys(const std::string& list) {
  std::set<std::string> keys;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    std::string key = normalKey(std::string_view(list).substr(start, comma - start));
    if (!key.empty()) keys.insert(key);
    start = comma + 1;
  }
  return keys;
}

void applyCheckList(Field& field, const std::string& answer) {
  std::string lowered = text::toLower(text::trim(answer, text::kWhiteSpace));
  field.itemChecked.resize(field.items.size(), false);
  if (lowered == "all" || lowered == "none") {
    field.itemChecked.assign(field.items.size(), lowered == "all");
    return;
  }
  std::set<std::string> keys = commaKeys(answer);
  for (size_t i = 0; i < field.items.size(); ++i) {
    const std::string& key = i < field.itemKeys.size() ? field.itemKeys[i] : field.items[i];
    field.itemChecked[i] = keys.count(normalKey(key)) > 0;
  }
}

std::optional<long> number(const std::string& text) {
  std::string trimmed(text::trim(text, text::kWhiteSpace));
  if (trimmed.empty()) return std::nullopt;
  char* end = nullptr;
  long value = std::strtol(trimmed.c_str(), &end, 10);
  if (*end != '\0') return std::nullopt;
  return value;
}

}  // namespace

std::string dummyFilePath(const std::string& folder, const std::string& dummyName) {
  std::string base = folder;
  if (!base.empty() && base.back() == '\\') base.pop_back();
  return base + "\\" + dummyName;
}

ScriptedInteraction::ScriptedInteraction(Answers answers, std::FILE* err, std::string programName)
    : answers_(std::move(answers)), err_(err), programName_(std::move(programName)),
      guard_(err), cancelOn_(answers_.progressCancelOn()) {}

namespace {

// A text as one line: its line breaks turned into blanks (or into sep between lines).
std::string flattened(const std::string& text, const char* sep = " ") {
  std::string line;
  bool breakPending = false;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      breakPending = !line.empty();
      continue;
    }
    if (breakPending && c != ' ') line += sep;
    breakPending = false;
    line += c;
  }
  return line;
}

}  // namespace

// A stop or warning message as one line: the text as the dialog shows it, its line breaks
// turned into blanks, then its detail in brackets, in UTF-8 for the terminal. A question that
// carries a detail is printed as well, with the answer taken.
void ScriptedInteraction::report(const Message& message, const std::string& answer) const {
  bool warning = message.icon == Icon::Stop || message.icon == Icon::Exclamation;
  if (!warning && message.detail.empty()) return;
  std::string line = flattened(message.text);
  if (!message.detail.empty()) line += " (" + flattened(message.detail, "; ") + ")";
  if (!answer.empty()) line += " -> " + answer;
  std::fprintf(err_, "%s: %s\n", programName_.c_str(), platform::cp1252ToUtf8(line).c_str());
  std::fflush(err_);
}

Answer ScriptedInteraction::message(const Message& message) {
  if (!isQuestion(message)) {
    report(message, {});
    return Answer::OK;
  }
  Answer answer = answerFor(message);
  report(message, message.detail.empty() ? std::string() : answerName(answer));
  return answer;
}

Answer ScriptedInteraction::answerFor(const Message& message) {
  ++questionsAsked_;
  std::optional<std::string> given = answers_.question(questionsAsked_);
  if (given) {
    std::optional<Answer> answer = parseAnswer(*given);
    if (answer && hasButton(message, *answer)) {
      // Default= answers the questions no entry was written for: by default too.
      answeredByDefault_ = !answers_.questionListed(questionsAsked_);
      return *answer;
    }
  }
  answeredByDefault_ = true;
  return defaultAnswer(message);
}

void ScriptedInteraction::fillFields(std::vector<Field>& fields) const {
  for (Field& field : fields) {
    std::optional<std::string> given = answers_.wizard(field.name);
    if (!given) continue;
    switch (field.kind) {
      case Field::Kind::Text:
        // An empty folder answer keeps the page's default: no folder line may be empty.
        if (field.name == "Folder" && text::trim(*given, text::kWhiteSpace).empty()) break;
        field.value = *given;
        break;
      case Field::Kind::Check:
        if (auto n = number(*given)) field.checked = *n != 0;
        break;
      case Field::Kind::CheckList:
        applyCheckList(field, *given);
        break;
      case Field::Kind::Radio:
        if (auto n = number(*given); n && *n >= 0 && *n < static_cast<long>(field.items.size())) {
          field.selected = static_cast<int>(*n);
        }
        break;
    }
  }
}

PageResult ScriptedInteraction::page(const Page& page) {
  PageResult result;
  result.fields = page.fields;
  fillFields(result.fields);
  std::string cancelAt = text::toLower(text::trim(answers_.wizard("Cancel").value_or(""), text::kWhiteSpace));
  bool cancel = !cancelAt.empty() && cancelAt == text::toLower(page.id);
  if (guard_.pageShown(page.id) == PageRepeatGuard::Verdict::Cancel) cancel = true;
  result.action = cancel ? PageResult::Action::Cancel : forwardAction(page);
  // The destination's folder chosen in its picker: Change is pressed the first time.
  if (!cancel && !destinationChanged_ && page.id == "destination" && !page.actions.empty() &&
      answers_.destinationPick()) {
    destinationChanged_ = destinationPickPending_ = true;
    result.action = PageResult::Action::PageButton;
    result.pageButton = 0;
  }
  return result;
}

std::optional<std::string> ScriptedInteraction::folder(const FolderPrompt& prompt) {
  std::optional<std::string> given;
  if (destinationPickPending_) {
    destinationPickPending_ = false;
    given = answers_.destinationPick();
  } else {
    given = answers_.folder(++foldersAsked_);
  }
  if (!given || given->empty()) return std::nullopt;
  return dummyFilePath(*given, prompt.dummyName);
}

std::optional<int> ScriptedInteraction::choose(const Choice& choice) {
  ++choicesAsked_;
  int count = static_cast<int>(choice.items.size());
  if (count == 0) return std::nullopt;
  int initial = choice.initial >= 0 && choice.initial < count ? choice.initial : 0;
  std::optional<std::string> given = answers_.choice(choicesAsked_);
  if (!given) return initial;
  if (given->empty()) return std::nullopt;
  if ((*given)[0] == '#') {
    if (auto n = number(given->substr(1)); n && *n >= 1 && *n <= count) {
      return static_cast<int>(*n - 1);
    }
  } else {
    for (int i = 0; i < count; ++i) {
      if (choice.items[i] == *given) return i;
    }
    for (int i = 0; i < count; ++i) {
      if (text::toLower(choice.items[i]) == text::toLower(*given)) return i;
    }
  }
  std::fprintf(err_, "%s: the answer \"%s\" names no item of \"%s\"; taking \"%s\".\n",
               programName_.c_str(), given->c_str(), platform::cp1252ToUtf8(choice.caption).c_str(),
               platform::cp1252ToUtf8(choice.items[initial]).c_str());
  return initial;
}

void ScriptedInteraction::progress(const Progress& progress) {
  if (cancelOn_.empty()) return;
  for (const std::string& line : progress.lines) {
    if (line.find(cancelOn_) != std::string::npos) {
      cancelPending_ = true;
      cancelOn_.clear();  // only the first time
      return;
    }
  }
}

bool ScriptedInteraction::cancelPressed() {
  bool pressed = cancelPending_;
  cancelPending_ = false;
  return pressed;
}

}  // namespace vandrel::ui
