// Tests of the transcript: each dialog's line read back with a strict JSON reader, the
// escaping of code page text, the order against the wrapped backend, and appending.
#include "ui/transcript_recorder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <variant>

#include "platform/code_page.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_interaction.h"
#include "ui/ui_test_support.h"

namespace vandrel::ui {
namespace {

// A strict reader for the JSON the transcript writes: strings come back as UTF-8, as any
// JSON reader gives them (the transcript itself holds only ASCII), numbers are integers.
struct Json {
  std::variant<std::nullptr_t, bool, long, std::string, std::vector<Json>, std::map<std::string, Json>> v;
  bool isNull() const { return std::holds_alternative<std::nullptr_t>(v); }
  const std::string& str() const { return std::get<std::string>(v); }
  long num() const { return std::get<long>(v); }
  const std::vector<Json>& arr() const { return std::get<std::vector<Json>>(v); }
  const Json& operator[](const std::string& key) const {
    return std::get<std::map<std::string, Json>>(v).at(key);
  }
  bool has(const std::string& key) const {
    return std::get<std::map<std::string, Json>>(v).count(key) > 0;
  }
};

class JsonReader {
 public:
  static Json parse(const std::string& text) {
    JsonReader reader(text);
    Json value = reader.value();
    if (reader.pos_ != text.size()) throw std::runtime_error("text after the value");
    return value;
  }

 private:
  explicit JsonReader(const std::string& text) : s_(text) {}
  char peek() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }
  void expect(char c) {
    if (peek() != c) throw std::runtime_error(std::string("expected ") + c + " at " + std::to_string(pos_));
    ++pos_;
  }
  bool word(const char* w) {
    if (s_.compare(pos_, std::strlen(w), w) != 0) return false;
    pos_ += std::strlen(w);
    return true;
  }
  Json value() {
    char c = peek();
    if (c == '{') return object();
    if (c == '[') return array();
    if (c == '"') return Json{string()};
    if (word("null")) return Json{nullptr};
    if (word("true")) return Json{true};
    if (word("false")) return Json{false};
    size_t used = 0;
    long n = std::stol(s_.substr(pos_), &used);
    pos_ += used;
    return Json{n};
  }
  Json object() {
    std::map<std::string, Json> members;
    expect('{');
    while (peek() != '}') {
      if (!members.empty()) expect(',');
      std::string key = string();
      expect(':');
      if (!members.emplace(key, value()).second) throw std::runtime_error("duplicate " + key);
    }
    expect('}');
    return Json{members};
  }
  Json array() {
    std::vector<Json> items;
    expect('[');
    while (peek() != ']') {
      if (!items.empty()) expect(',');
      items.push_back(value());
    }
    expect(']');
    return Json{items};
  }
  std::string string() {
    std::string out;
    expect('"');
    for (;;) {
      if (pos_ >= s_.size()) throw std::runtime_error("unterminated string");
      unsigned char c = static_cast<unsigned char>(s_[pos_++]);
      if (c == '"') return out;
      if (c < 0x20 || c >= 0x80) throw std::runtime_error("raw control or high byte");
      if (c != '\\') {
        out += static_cast<char>(c);
        continue;
      }
      char e = s_.at(pos_++);
      const std::string simple = "\"\\/bfnrt";
      const std::string meant = "\"\\/\b\f\n\r\t";
      if (size_t at = simple.find(e); at != std::string::npos) {
        out += meant[at];
      } else if (e == 'u') {
        long code = std::stol(s_.substr(pos_, 4), nullptr, 16);
        if (code >= 0xd800 && code <= 0xdfff) throw std::runtime_error("surrogate");
        if (code < 0x80) {
          out += static_cast<char>(code);
        } else if (code < 0x800) {
          out += static_cast<char>(0xc0 | (code >> 6));
          out += static_cast<char>(0x80 | (code & 0x3f));
        } else {
          out += static_cast<char>(0xe0 | (code >> 12));
          out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
          out += static_cast<char>(0x80 | (code & 0x3f));
        }
        pos_ += 4;
      } else {
        throw std::runtime_error("bad escape");
      }
    }
  }
  const std::string& s_;
  size_t pos_ = 0;
};

std::vector<Json> readLines(const std::filesystem::path& path) {
  std::vector<Json> lines;
  std::string text = test::readFile(path);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    EXPECT_NE(end, std::string::npos) << "last line without line end";
    if (end == std::string::npos) end = text.size();
    lines.push_back(JsonReader::parse(text.substr(start, end - start)));
    start = end + 1;
  }
  return lines;
}

TEST(TranscriptLines, MessagesAndQuestions) {
  test::TempDir dir;
  TranscriptRecorder ui(std::make_unique<ScriptedInteraction>(Answers::fromText("[Answers]\n1=No\n")),
                        Program::Uninstall, (dir / "t.jsonl").string());
  Message stop;
  stop.caption = "Dallow v3.0";
  stop.text = "Please start the unInstall program.";
  stop.icon = Icon::Stop;
  EXPECT_EQ(ui.message(stop), Answer::OK);
  EXPECT_EQ(ui.message(testing::question(Buttons::YesNo, 0, "Remove it ?")), Answer::No);
  EXPECT_EQ(ui.message(testing::question(Buttons::YesYesToAllNo, 2)), Answer::No);
  Message detailed = stop;
  detailed.detail = "C:\\App\\a.exe: not found";
  ui.message(detailed);

  std::vector<Json> lines = readLines(dir / "t.jsonl");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_FALSE(lines[0].has("detail")) << "a message without a detail has no such key";
  EXPECT_EQ(lines[3]["text"].str(), "Please start the unInstall program.");
  EXPECT_EQ(lines[3]["detail"].str(), "C:\\App\\a.exe: not found");
  EXPECT_EQ(lines[0]["program"].str(), "uninstall");
  EXPECT_EQ(lines[0]["kind"].str(), "message");
  EXPECT_EQ(lines[0]["caption"].str(), "Dallow v3.0");
  EXPECT_EQ(lines[0]["buttons"].str(), "OK");
  EXPECT_EQ(lines[0]["icon"].str(), "stop");
  EXPECT_EQ(lines[0]["answer"].str(), "OK");
  EXPECT_EQ(lines[1]["kind"].str(), "question");
  EXPECT_EQ(lines[1]["text"].str(), "Remove it ?");
  EXPECT_EQ(lines[1]["buttons"].str(), "YesNo");
  EXPECT_EQ(lines[1]["icon"].str(), "question");
  EXPECT_EQ(lines[1]["answer"].str(), "No");
  EXPECT_EQ(lines[2]["buttons"].str(), "YesYesToAllNo");
}

TEST(TranscriptLines, EscapingAndCodePageBytes) {
  test::TempDir dir;
  TranscriptRecorder ui(std::make_unique<ScriptedInteraction>(), Program::Setup,
                        (dir / "t.jsonl").string());
  const std::string text =
      "S\xe9lection de r\xe9pertoire \"C:\\Temp\"\r\n\ttab\x01\x7f\xff end, 5 \x80, it\x92s";
  Message message;
  message.caption = "Caf\xe9";
  message.text = text;
  ui.message(message);

  std::string raw = test::readFile(dir / "t.jsonl");
  EXPECT_NE(raw.find("S\\u00e9lection"), std::string::npos) << raw;
  // Bytes 0x80 to 0x9F are the code page's characters, not control characters.
  EXPECT_NE(raw.find("5 \\u20ac, it\\u2019s"), std::string::npos) << raw;
  EXPECT_NE(raw.find("\\\"C:\\\\Temp\\\""), std::string::npos) << raw;
  for (unsigned char c : raw.substr(0, raw.size() - 1)) EXPECT_TRUE(c >= 0x20 && c < 0x80) << raw;
  std::vector<Json> lines = readLines(dir / "t.jsonl");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]["text"].str(), platform::cp1252ToUtf8(text));
  EXPECT_EQ(lines[0]["caption"].str(), "Caf\xc3\xa9");
}

TEST(TranscriptLines, PageLineHoldsEverythingShown) {
  test::TempDir dir;
  Answers answers = Answers::fromText("[Wizard]\nUserName=Ann\nComponents=4\nCancel=components\n");
  TranscriptRecorder ui(std::make_unique<ScriptedInteraction>(answers), Program::Setup,
                        (dir / "t.jsonl").string());
  Page registration = testing::registrationPage();
  registration.fields[1].value = "Old Co";
  ui.page(registration);
  ui.page(testing::componentsPage());
  ui.page(testing::destinationPage());

  std::vector<Json> lines = readLines(dir / "t.jsonl");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0]["kind"].str(), "page");
  EXPECT_EQ(lines[0]["page"].str(), "registration");
  EXPECT_EQ(lines[0]["answer"].str(), "Next");
  EXPECT_EQ(lines[0]["text"].str(),
            "Please take the time to fill-out the informations below.\nUser Name: \n"
            "Organization: Old Co\nSerial number: ");
  EXPECT_EQ(lines[0]["values"]["UserName"].str(), "Ann");
  EXPECT_EQ(lines[1]["answer"].str(), "Cancel");
  EXPECT_EQ(lines[1]["values"]["Components"].str(), "4");
  EXPECT_NE(lines[1]["text"].str().find("[x] Samples"), std::string::npos);
  EXPECT_EQ(lines[2]["answer"].str(), "Finish");
  EXPECT_NE(lines[2]["text"].str().find("Install Folder C:\\Install"), std::string::npos);
  EXPECT_NE(lines[2]["text"].str().find("[ ] Backup replaced files"), std::string::npos);
}

TEST(TranscriptLines, FolderChoiceDiskAndClosings) {
  test::TempDir dir;
  Answers answers = Answers::fromText("[Folders]\n1=Z:\\pkg\\Disk2\n[Choices]\n1=#2\n2=\n");
  std::string path = (dir / "t.jsonl").string();
  TranscriptRecorder setup(std::make_unique<ScriptedInteraction>(answers), Program::Setup, path);
  setup.folder(FolderPrompt{"Sélection", "Please indicate the folder", "Junk", ""});
  setup.folder(FolderPrompt{});
  Choice choice{"Directory", "Pick", {"Install Dir", "Windows Dir"}, 0};
  setup.choose(choice);
  setup.choose(choice);
  setup.diskMessage(DiskMessage{"Messages", "Insert disk 2", 2});
  Closing done;
  done.caption = "App";
  done.code = 4;
  done.upper = "App Setup completed !";
  done.lower = "Your new software has been successfully installed.";
  done.text = done.upper + "\n" + done.lower;
  setup.closing(done);
  TranscriptRecorder uninstall(std::make_unique<ScriptedInteraction>(), Program::Uninstall, path);
  Closing removed;
  removed.text = "Uninstall completed successfully.";
  removed.boxes = {true, true, true, true, false};
  uninstall.closing(removed);

  std::vector<Json> lines = readLines(path);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0]["kind"].str(), "folder");
  EXPECT_EQ(lines[0]["answer"].str(), "Z:\\pkg\\Disk2\\Junk");
  EXPECT_TRUE(lines[1]["answer"].isNull());
  EXPECT_EQ(lines[2]["kind"].str(), "choice");
  EXPECT_EQ(lines[2]["answer"].str(), "Windows Dir");
  EXPECT_TRUE(lines[3]["answer"].isNull());
  EXPECT_EQ(lines[4]["kind"].str(), "disk-message");
  EXPECT_EQ(lines[4]["disk"].num(), 2);
  EXPECT_EQ(lines[4]["text"].str(), "Insert disk 2");
  EXPECT_EQ(lines[5]["kind"].str(), "closing");
  EXPECT_EQ(lines[5]["code"].num(), 4);
  EXPECT_EQ(lines[5]["upper"].str(), "App Setup completed !");
  EXPECT_EQ(lines[5]["answer"].str(), "OK");
  EXPECT_FALSE(lines[5].has("boxes"));
  EXPECT_EQ(lines[6]["program"].str(), "uninstall");
  EXPECT_EQ(lines[6]["text"].str(), "Uninstall completed successfully.");
  ASSERT_EQ(lines[6]["boxes"].arr().size(), 5u);
  EXPECT_TRUE(std::get<bool>(lines[6]["boxes"].arr()[0].v));
  EXPECT_FALSE(std::get<bool>(lines[6]["boxes"].arr()[4].v));
  EXPECT_FALSE(lines[6].has("code"));
}

// Records what the wrapped backend saw of the transcript file when it was asked.
class PeekingBackend : public ScriptedInteraction {
 public:
  explicit PeekingBackend(std::string path) : path_(std::move(path)) {}
  Answer message(const Message& m) override {
    seen.push_back(test::readFile(path_));
    return ScriptedInteraction::message(m);
  }
  void closing(const Closing&) override { seen.push_back(test::readFile(path_)); }
  std::vector<std::string> seen;

 private:
  std::string path_;
};

TEST(TranscriptLines, OneButtonDialogsAreOnFileBeforeTheyAreShown) {
  test::TempDir dir;
  std::string path = (dir / "t.jsonl").string();
  test::writeFile(path, "");
  auto backend = std::make_unique<PeekingBackend>(path);
  PeekingBackend* peek = backend.get();
  TranscriptRecorder ui(std::move(backend), Program::Setup, path);
  Message info;
  info.text = "Copy done";
  ui.message(info);
  ui.closing(Closing{});
  ASSERT_EQ(peek->seen.size(), 2u);
  EXPECT_NE(peek->seen[0].find("Copy done"), std::string::npos);
  EXPECT_NE(peek->seen[1].find("\"closing\""), std::string::npos);
}

TEST(TranscriptLines, AppendsToWhatEarlierProgramsWrote) {
  test::TempDir dir;
  std::string path = (dir / "t.jsonl").string();
  test::writeFile(path, "{\"program\":\"setup\",\"kind\":\"message\"}\n");
  TranscriptRecorder ui(std::make_unique<ScriptedInteraction>(), Program::Builder, path);
  ui.message(testing::question(Buttons::OKCancel, 1));
  std::vector<Json> lines = readLines(path);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1]["program"].str(), "builder");
  EXPECT_EQ(lines[1]["answer"].str(), "Cancel");
}

TEST(TranscriptLines, UnwritableTranscriptIsSaidOnceAndTheDialogStillAnswers) {
  testing::CapturedStream err;
  TranscriptRecorder ui(std::make_unique<ScriptedInteraction>(), Program::Setup,
                        "/nonexistent/dir/t.jsonl", err.file());
  EXPECT_EQ(ui.message(testing::question(Buttons::YesNo, 1)), Answer::No);
  ui.message(Message{});
  std::string said = err.text();
  EXPECT_NE(said.find("/nonexistent/dir/t.jsonl"), std::string::npos);
  EXPECT_EQ(said.find("transcript"), said.rfind("transcript"));
}

}  // namespace
}  // namespace vandrel::ui
