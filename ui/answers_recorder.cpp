// Record mode: the answers of an interactive run written as an answers file.
#include "ui/answers_recorder.h"

#include <fstream>

#include "platform/host_output.h"
#include "platform/text/text_rules.h"
#include "ui/dialog_text.h"

namespace vandrel::ui {

namespace {

void appendSection(std::string& text, const char* name, const std::vector<std::string>& answers) {
  if (answers.empty()) return;
  text += std::string("[") + name + "]\r\n";
  for (size_t i = 0; i < answers.size(); ++i) {
    text += std::to_string(i + 1) + "=" + answers[i] + "\r\n";
  }
}

// A choice as the answers file names it: the item's text when no other item reads the same
// (letter case aside), else its number.
std::string choiceAnswer(const Choice& choice, int index) {
  const std::string& item = choice.items[static_cast<size_t>(index)];
  for (size_t i = 0; i < choice.items.size(); ++i) {
    if (static_cast<int>(i) != index && text::toLower(choice.items[i]) == text::toLower(item)) {
      return "#" + std::to_string(index + 1);
    }
  }
  return item.empty() || item[0] == '#' ? "#" + std::to_string(index + 1) : item;
}

}  // namespace

AnswersRecorder::AnswersRecorder(std::unique_ptr<Interaction> inner, Program program,
                                 std::string path, std::FILE* err)
    : inner_(std::move(inner)), program_(program), path_(std::move(path)), err_(err) {}

Answer AnswersRecorder::message(const Message& message) {
  Answer answer = inner_->message(message);
  if (isQuestion(message)) {
    questions_.push_back(answerName(answer));
    save();
  }
  return answer;
}

PageResult AnswersRecorder::page(const Page& page) {
  PageResult result = inner_->page(page);
  for (const Field& field : result.fields) {
    if (field.name.empty()) continue;
    if (!wizard_.count(field.name)) wizardKeys_.push_back(field.name);
    wizard_[field.name] = fieldAnswer(field);
  }
  if (result.action == PageResult::Action::Cancel) {
    cancelPage_ = page.id;
  } else if (cancelPage_ == page.id) {
    cancelPage_.clear();  // the cancel was taken back and the page left forward after all
  }
  save();
  return result;
}

std::optional<std::string> AnswersRecorder::folder(const FolderPrompt& prompt) {
  std::optional<std::string> answer = inner_->folder(prompt);
  std::string folder;
  if (answer) {
    folder = *answer;
    std::string dummy = "\\" + prompt.dummyName;
    bool endsInDummy = folder.size() > dummy.size() &&
                       text::toLower(folder.substr(folder.size() - dummy.size())) == text::toLower(dummy);
    if (endsInDummy) folder.resize(folder.size() - prompt.dummyName.size());
  }
  folders_.push_back(folder);
  save();
  return answer;
}

std::optional<int> AnswersRecorder::choose(const Choice& choice) {
  std::optional<int> answer = inner_->choose(choice);
  bool valid = answer && *answer >= 0 && *answer < static_cast<int>(choice.items.size());
  choices_.push_back(valid ? choiceAnswer(choice, *answer) : "");
  save();
  return answer;
}

void AnswersRecorder::progress(const Progress& progress) {
  for (auto line = progress.lines.rbegin(); line != progress.lines.rend(); ++line) {
    if (!line->empty()) {
      lastProgressLine_ = *line;
      break;
    }
  }
  inner_->progress(progress);
}

bool AnswersRecorder::cancelPressed() {
  bool pressed = inner_->cancelPressed();
  if (pressed && cancelOn_.empty() && !lastProgressLine_.empty()) {
    cancelOn_ = lastProgressLine_;  // a replay presses Cancel where the user first did
    save();
  }
  return pressed;
}

std::string AnswersRecorder::text() const {
  std::string text = std::string("; Answers recorded from an interactive run of ") +
                     commandName(program_) + "; replay with VANDREL_UI=scripted.\r\n";
  if (!wizardKeys_.empty() || !cancelPage_.empty()) {
    text += "[Wizard]\r\n";
    for (const std::string& key : wizardKeys_) text += key + "=" + wizard_.at(key) + "\r\n";
    if (!cancelPage_.empty()) text += "Cancel=" + cancelPage_ + "\r\n";
  }
  appendSection(text, "Answers", questions_);
  appendSection(text, "Folders", folders_);
  appendSection(text, "Choices", choices_);
  if (!cancelOn_.empty()) text += "[Progress]\r\nCancelOn=" + cancelOn_ + "\r\n";
  return text;
}

void AnswersRecorder::save() {
  // Never a FIFO or a device: one without a reader would hold the program for ever.
  std::FILE* out = platform::openHostOutput(path_, true, nullptr);
  bool ok = out != nullptr;
  if (out) {
    const std::string written = text();
    ok = std::fwrite(written.data(), 1, written.size(), out) == written.size();
    ok = std::fclose(out) == 0 && ok;
  }
  if (ok || failed_) return;
  failed_ = true;
  std::fprintf(err_, "%s: cannot write the answers file %s\n", commandName(program_), path_.c_str());
}

}  // namespace vandrel::ui
