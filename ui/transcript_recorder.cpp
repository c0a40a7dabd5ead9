// The transcript recorder.
#include "ui/transcript_recorder.h"

#include "platform/host_output.h"
#include "ui/dialog_text.h"
#include "ui/json_line.h"

namespace vandrel::ui {

namespace {

std::vector<std::string> pageButtons(const Page& page) {
  std::vector<std::string> labels;
  if (page.back) labels.push_back("< Back");
  if (!page.next.empty()) labels.push_back(stripMnemonic(page.next));
  if (!page.finish.empty()) labels.push_back(stripMnemonic(page.finish));
  for (const std::string& action : page.actions) labels.push_back(stripMnemonic(action));
  if (!page.cancel.empty()) labels.push_back(stripMnemonic(page.cancel));
  return labels;
}

}  // namespace

TranscriptRecorder::TranscriptRecorder(std::unique_ptr<Interaction> inner, Program program,
                                       std::string path, std::FILE* err)
    : inner_(std::move(inner)), program_(program), path_(std::move(path)), err_(err) {}

JsonLine TranscriptRecorder::start(const char* kind, const std::string& caption,
                                   const std::string& text, const char* buttons,
                                   const char* icon) const {
  JsonLine line;
  line.add("program", programName(program_))
      .add("kind", kind)
      .add("caption", caption)
      .add("text", text)
      .add("buttons", buttons)
      .add("icon", icon);
  return line;
}

void TranscriptRecorder::write(const JsonLine& line) {
  // Never a FIFO or a device: one without a reader would hold the program for ever.
  std::FILE* file = platform::openHostOutput(path_, false, nullptr);
  bool ok = file != nullptr;
  if (file) {
    std::string text = line.text() + "\n";
    ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = std::fflush(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
  }
  if (!ok && !failed_) {
    std::fprintf(err_, "vandrel: cannot write the transcript %s\n", path_.c_str());
    failed_ = true;
  }
}

Answer TranscriptRecorder::message(const Message& message) {
  std::string buttons = buttonsName(message.buttons);
  std::string icon = iconName(message.icon);
  if (!isQuestion(message)) {
    JsonLine line = start("message", message.caption, message.text, buttons.c_str(), icon.c_str());
    line.add("answer", "OK");
    if (!message.detail.empty()) line.add("detail", message.detail);
    write(line);
    return inner_->message(message);
  }
  Answer answer = inner_->message(message);
  JsonLine line = start("question", message.caption, message.text, buttons.c_str(), icon.c_str());
  line.add("answer", answerName(answer));
  if (!message.detail.empty()) line.add("detail", message.detail);
  write(line);
  return answer;
}

PageResult TranscriptRecorder::page(const Page& page) {
  PageResult result = inner_->page(page);
  std::vector<std::pair<std::string, std::string>> values;
  for (const Field& field : result.fields) values.emplace_back(field.name, fieldAnswer(field));
  JsonLine line = start("page", page.caption, pageText(page, page.fields), "OKCancel", "none");
  line.add("answer", pageActionName(page, result))
      .add("page", page.id)
      .add("labels", pageButtons(page))
      .add("values", values);
  if (!page.facts.empty()) line.add("facts", page.facts);
  write(line);
  return result;
}

std::optional<std::string> TranscriptRecorder::folder(const FolderPrompt& prompt) {
  std::optional<std::string> answer = inner_->folder(prompt);
  write(start("folder", prompt.caption, prompt.text, "OKCancel", "none").add("answer", answer));
  return answer;
}

std::optional<int> TranscriptRecorder::choose(const Choice& choice) {
  std::optional<int> index = inner_->choose(choice);
  std::optional<std::string> answer;
  if (index && *index >= 0 && *index < static_cast<int>(choice.items.size())) {
    answer = choice.items[*index];
  }
  write(start("choice", choice.caption, choice.text, "OKCancel", "none")
            .add("answer", answer)
            .add("items", choice.items));
  return index;
}

void TranscriptRecorder::diskMessage(const DiskMessage& message) {
  write(start("disk-message", message.caption, message.text, "OK", "none")
            .add("answer", "OK")
            .add("disk", static_cast<long>(message.disk)));
  inner_->diskMessage(message);
}

void TranscriptRecorder::closing(const Closing& closing) {
  JsonLine line = start("closing", closing.caption, closing.text, "OK", "none");
  line.add("answer", "OK");
  if (program_ == Program::Setup || closing.code) {
    if (closing.code) {
      line.add("code", static_cast<long>(*closing.code));
    } else {
      line.addNull("code");
    }
    line.add("upper", closing.upper).add("lower", closing.lower);
  }
  if (program_ == Program::Uninstall || !closing.boxes.empty()) line.add("boxes", closing.boxes);
  write(line);
  inner_->closing(closing);
}

}  // namespace vandrel::ui
