// The terminal backend: messages, folder prompts, choices, closing and progress.
#include "ui/console_interaction.h"

#include "platform/code_page.h"
#include "platform/terminal.h"
#include "platform/text/text_rules.h"
#include "ui/dialog_text.h"
#include "ui/scripted_interaction.h"

namespace vandrel::ui {

namespace {

struct ButtonKey {
  Answer answer;
  char key;
  const char* shown;
};

constexpr ButtonKey kButtonKeys[] = {
    {Answer::Yes, 'y', "[Y]es"},           {Answer::No, 'n', "[N]o"},
    {Answer::Cancel, 'c', "[C]ancel"},     {Answer::OK, 'o', "[O]K"},
    {Answer::YesToAll, 'a', "Yes to [A]ll"},
};

const ButtonKey& buttonKey(Answer answer) {
  for (const ButtonKey& entry : kButtonKeys) {
    if (entry.answer == answer) return entry;
  }
  return kButtonKeys[3];
}

// The button a typed line names: its letter or its whole name, in any case.
std::optional<Answer> typedButton(const Message& message, const std::string& typed) {
  std::string word = text::toLower(text::trim(typed, text::kWhiteSpace));
  for (Answer answer : buttonsOf(message.buttons)) {
    if (word.size() == 1 && word[0] == buttonKey(answer).key) return answer;
    if (word == text::toLower(answerName(answer)) || (answer == Answer::YesToAll && word == "yes to all")) {
      return answer;
    }
  }
  return std::nullopt;
}

std::string oneLine(const std::string& text, const char* sep = " ") {
  std::string out;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n')
      out += sep;
    else
      out += c;
  }
  return out;
}

}  // namespace

ConsoleInteraction::ConsoleInteraction(std::FILE* in, std::FILE* out, std::FILE* err,
                                       bool interactive, bool errIsTerminal)
    : in_(in), out_(out), err_(err), interactive_(interactive), bar_(err, errIsTerminal),
      guard_(err) {}

std::unique_ptr<ConsoleInteraction> ConsoleInteraction::onTerminal() {
  return std::make_unique<ConsoleInteraction>(stdin, stdout, stderr, platform::isTerminal(stdin),
                                              platform::isTerminal(stderr));
}

std::optional<std::string> ConsoleInteraction::readLine(const std::string& prompt) {
  if (!interactive_) return std::nullopt;
  std::fputs(platform::cp1252ToUtf8(prompt).c_str(), out_);
  std::fflush(out_);
  std::string line;
  int c;
  while ((c = std::fgetc(in_)) != EOF && c != '\n') line += static_cast<char>(c);
  if (c == EOF && line.empty()) {
    // The input has ended: nobody can answer any more.
    interactive_ = false;
    std::fputs("\n", out_);
    return std::nullopt;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return platform::utf8ToCp1252(line);
}

void ConsoleInteraction::heading(const std::string& caption) {
  std::fprintf(out_, "\n--- %s ---\n", platform::cp1252ToUtf8(caption).c_str());
}

void ConsoleInteraction::log(const std::string& kind, const std::string& caption,
                             const std::string& text, const std::string& answer) {
  std::fprintf(err_, "[%s] %s: %s", kind.c_str(), platform::cp1252ToUtf8(caption).c_str(),
               platform::cp1252ToUtf8(oneLine(text)).c_str());
  if (!answer.empty()) std::fprintf(err_, " -> %s", platform::cp1252ToUtf8(answer).c_str());
  std::fputs("\n", err_);
  std::fflush(err_);
}

Answer ConsoleInteraction::message(const Message& message) {
  Answer fallback = defaultAnswer(message);
  answeredByDefault_ = !interactive_;
  if (!interactive_) {
    std::string text = message.text;
    if (!message.detail.empty()) text += " (" + oneLine(message.detail, "; ") + ")";
    log(isQuestion(message) ? "question" : "message", message.caption, text, answerName(fallback));
    return fallback;
  }
  heading(message.caption);
  std::fprintf(out_, "%s\n", platform::cp1252ToUtf8(message.text).c_str());
  if (!message.detail.empty()) {
    std::fprintf(out_, "%s\n", platform::cp1252ToUtf8(message.detail).c_str());
  }
  std::string choices;
  for (Answer answer : buttonsOf(message.buttons)) {
    choices += (choices.empty() ? "" : "  ") + std::string(buttonKey(answer).shown);
  }
  std::string prompt = choices + " (Enter: " + answerName(fallback) + ") > ";
  while (auto typed = readLine(prompt)) {
    if (text::trim(*typed, text::kWhiteSpace).empty()) return fallback;
    if (auto answer = typedButton(message, *typed)) return *answer;
    std::fprintf(out_, "Please type one of: %s\n", choices.c_str());
  }
  answeredByDefault_ = true;  // the input ended: no one is there to answer
  return fallback;
}

std::optional<std::string> ConsoleInteraction::folder(const FolderPrompt& prompt) {
  if (!interactive_) {
    log("folder", prompt.caption, prompt.text, "cancelled");
    return std::nullopt;
  }
  heading(prompt.caption);
  std::fprintf(out_, "%s\n", platform::cp1252ToUtf8(prompt.text).c_str());
  std::string ask = prompt.initialFolder.empty()
                        ? "Folder (Enter or - cancels) > "
                        : "Folder (Enter keeps " + prompt.initialFolder + ", - cancels) > ";
  std::optional<std::string> typed = readLine(ask);
  if (!typed) return std::nullopt;
  std::string chosen(text::trim(*typed, text::kWhiteSpace));
  if (chosen == "-") return std::nullopt;
  if (chosen.empty()) chosen = prompt.initialFolder;
  if (chosen.empty()) return std::nullopt;
  return dummyFilePath(chosen, prompt.dummyName);
}

std::optional<int> ConsoleInteraction::choose(const Choice& choice) {
  int count = static_cast<int>(choice.items.size());
  if (count == 0) return std::nullopt;
  int initial = choice.initial >= 0 && choice.initial < count ? choice.initial : 0;
  if (!interactive_) {
    log("choice", choice.caption, choice.text, choice.items[initial]);
    return initial;
  }
  heading(choice.caption);
  std::fprintf(out_, "%s\n", platform::cp1252ToUtf8(choice.text).c_str());
  for (int i = 0; i < count; ++i) std::fprintf(out_, "  %d) %s\n", i + 1,
                                            platform::cp1252ToUtf8(choice.items[i]).c_str());
  std::string prompt = "Number (Enter: " + std::to_string(initial + 1) + ", - cancels) > ";
  while (auto typed = readLine(prompt)) {
    std::string word(text::trim(*typed, text::kWhiteSpace));
    if (word.empty()) return initial;
    if (word == "-") return std::nullopt;
    char* end = nullptr;
    long n = std::strtol(word.c_str(), &end, 10);
    if (*end == '\0' && n >= 1 && n <= count) return static_cast<int>(n - 1);
    std::fprintf(out_, "Please type a number from 1 to %d.\n", count);
  }
  return initial;
}

void ConsoleInteraction::diskMessage(const DiskMessage& message) {
  if (!interactive_) {
    log("disk-message", message.caption, message.text, "");
    return;
  }
  heading(message.caption);
  std::fprintf(out_, "%s\n", platform::cp1252ToUtf8(message.text).c_str());
  std::fflush(out_);
}

void ConsoleInteraction::closing(const Closing& closing) {
  if (!interactive_) {
    log("closing", closing.caption, closing.text, "OK");
    return;
  }
  heading(closing.caption);
  std::fprintf(out_, "%s\n", platform::cp1252ToUtf8(closing.text).c_str());
  readLine("[O]K (Enter) > ");
}

void ConsoleInteraction::beep() {
  if (interactive_) {
    std::fputc('\a', out_);
    std::fflush(out_);
  }
}

void ConsoleInteraction::progress(const Progress& progress) {
  progressCancellable_ = progress.cancellable && interactive_;
  bar_.show(progress, progressCancellable_ ? "  (type c and Enter to cancel)" : "");
}

bool ConsoleInteraction::cancelPressed() {
  if (!progressCancellable_) return false;
  // Look without waiting whether a line was typed meanwhile.
  if (!platform::inputWaiting(in_)) return false;
  std::string line;
  int c;
  while ((c = std::fgetc(in_)) != EOF && c != '\n') line += static_cast<char>(c);
  if (c == EOF && line.empty()) {
    interactive_ = false;
    progressCancellable_ = false;
    return false;
  }
  return text::toLower(text::trim(line, text::kWhiteSpace)) == "c";
}

void ConsoleInteraction::endProgress() {
  bar_.end();
  progressCancellable_ = false;
}

}  // namespace vandrel::ui
