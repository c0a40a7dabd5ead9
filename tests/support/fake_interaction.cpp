// The interaction port of the tests: recording, queued answers, defaults.
#include "tests/support/fake_interaction.h"

namespace vandrel::test {

namespace {

template <typename T>
std::optional<T> takeFront(std::deque<T>& queue) {
  if (queue.empty()) return std::nullopt;
  T value = std::move(queue.front());
  queue.pop_front();
  return value;
}

}  // namespace

std::vector<std::string> FakeInteraction::texts() const {
  std::vector<std::string> out;
  for (const ui::Message& m : messages) out.push_back(m.text);
  return out;
}

std::vector<std::string> FakeInteraction::questions() const {
  std::vector<std::string> out;
  for (const ui::Message& m : messages) {
    if (m.buttons != ui::Buttons::OK) out.push_back(m.text);
  }
  return out;
}

std::vector<std::string> FakeInteraction::progressLines() const {
  std::vector<std::string> out;
  for (const ui::Progress& p : progresses) out.insert(out.end(), p.lines.begin(), p.lines.end());
  return out;
}

ui::PageResult FakeInteraction::press(const ui::Page& page, ui::PageResult::Action action) {
  ui::PageResult result;
  result.action = action;
  result.fields = page.fields;
  return result;
}

ui::Answer FakeInteraction::message(const ui::Message& message) {
  if (recording) {
    events.push_back("message:" + message.text);
    messages.push_back(message);
  }
  if (whileShown) whileShown(message);
  bool question = message.buttons != ui::Buttons::OK;
  if (question || answersForEveryMessage) {
    if (std::optional<ui::Answer> queued = takeFront(answers)) return *queued;
  }
  if (!question) return ui::Answer::OK;
  if (defaultAnswer) return *defaultAnswer;
  return message.buttons == ui::Buttons::OKCancel ? ui::Answer::OK : ui::Answer::Yes;
}

ui::PageResult FakeInteraction::page(const ui::Page& page) {
  if (recording) {
    events.push_back("page:" + page.id);
    pages.push_back(page);
  }
  if (std::optional<PageAction> action = takeFront(pageActions)) return (*action)(page);
  return press(page, page.next.empty() ? ui::PageResult::Action::Finish
                                       : ui::PageResult::Action::Next);
}

std::optional<std::string> FakeInteraction::folder(const ui::FolderPrompt& prompt) {
  if (recording) {
    events.push_back("folder:" + prompt.text);
    folderPrompts.push_back(prompt);
  }
  std::optional<std::optional<std::string>> queued = takeFront(folders);
  if (!queued || !*queued) return std::nullopt;
  std::string answer = **queued;
  if (!addDummyName) return answer;
  if (!answer.empty() && answer.back() == '\\') answer.pop_back();
  return answer + "\\" + prompt.dummyName;
}

std::optional<int> FakeInteraction::choose(const ui::Choice& choice) {
  if (recording) {
    events.push_back("choose:" + choice.caption);
    choicesShown.push_back(choice);
  }
  std::optional<std::optional<int>> queued = takeFront(choices);
  return queued ? *queued : std::nullopt;
}

void FakeInteraction::diskMessage(const ui::DiskMessage& message) {
  if (!recording) return;
  events.push_back("disk:" + std::to_string(message.disk));
  diskMessages.push_back(message);
}

void FakeInteraction::closing(const ui::Closing& closing) {
  if (!recording) return;
  events.push_back(closing.code ? "closing:" + std::to_string(*closing.code) : "closing");
  closings.push_back(closing);
}

void FakeInteraction::beep() {
  if (!recording) return;
  events.push_back("beep");
  ++beeps;
}

void FakeInteraction::progress(const ui::Progress& progress) {
  if (recording) {
    progresses.push_back(progress);
    if (percents.empty() || percents.back() != progress.percent) percents.push_back(progress.percent);
  }
  if (onProgress) onProgress(progress);
  if (cancelAfterUpdates > 0 && --cancelAfterUpdates == 0) cancelPending_ = true;
  if (cancelOn.empty()) return;
  for (const std::string& line : progress.lines) {
    if (line.find(cancelOn) != std::string::npos) {
      cancelPending_ = true;
      cancelOn.clear();
      return;
    }
  }
}

bool FakeInteraction::cancelPressed() {
  bool pressed = cancelPending_;
  cancelPending_ = false;
  return pressed;
}

void FakeInteraction::endProgress() {
  if (!recording) return;
  events.push_back("end");
  ++progressEnds;
}

PageAction pressOn(ui::PageResult::Action action, int pageButton) {
  return [action, pageButton](const ui::Page& page) {
    ui::PageResult result = FakeInteraction::press(page, action);
    result.pageButton = pageButton;
    return result;
  };
}

PageAction fill(std::vector<std::pair<std::string, std::string>> values, ui::PageResult::Action action) {
  return [values, action](const ui::Page& page) {
    ui::PageResult result = FakeInteraction::press(page, action);
    for (ui::Field& field : result.fields) {
      for (const auto& [name, value] : values) {
        if (field.name == name) field.value = value;
      }
    }
    return result;
  };
}

PageAction tick(bool checked, ui::PageResult::Action action) {
  return [checked, action](const ui::Page& page) {
    ui::PageResult result = FakeInteraction::press(page, action);
    for (ui::Field& field : result.fields) {
      if (field.kind == ui::Field::Kind::Check) field.checked = checked;
    }
    return result;
  };
}

}  // namespace vandrel::test
