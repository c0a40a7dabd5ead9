// The interaction port: every question, message, page, folder prompt, list choice and
// progress display of the three programs goes through it. Backends: gui (Qt, ui/qt/), console,
// scripted; a transcript can be recorded over any of them.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vandrel::ui {

enum class Program { Setup, Uninstall, Builder };

// The name a program goes by on the command line and before its lines on standard error:
// "tamsin32", "peskin32", "corvix".
const char* commandName(Program program);

enum class Buttons { OK, YesNo, YesNoCancel, YesYesToAllNo, OKCancel };
enum class Icon { None, Question, Stop, Exclamation, Information };
enum class Answer { OK, Cancel, Yes, No, YesToAll };

// A message box. With more than one button it is a question.
struct Message {
  std::string caption;
  std::string text;
  Buttons buttons = Buttons::OK;
  Icon icon = Icon::None;
  // Index of the default button in the button set (0: the first button).
  int defaultButton = 0;
  // What the message is about beyond its text: the file or folder concerned and the reason,
  // one item a line ("Z:\src\a.exe: not found"). The text stays as the string table has it;
  // the command-line backends show the detail after it and the transcript records it as
  // "detail".
  std::string detail{};
};

// One control of a page that the user can change.
struct Field {
  enum class Kind {
    Text,       // an edit line; value
    Check,      // a check box; checked
    CheckList,  // a check list; items with itemKeys and itemChecked
    Radio,      // radio buttons; items, selected
  };
  Kind kind = Kind::Text;
  std::string name;   // stable name, also the answers-file key ("UserName", "Folder", ...)
  std::string label;  // as shown
  std::string value;
  bool checked = false;
  std::vector<std::string> items;
  std::vector<std::string> itemKeys;  // per item: the key an answer names it by
  std::vector<bool> itemChecked;
  int selected = 0;
};

// How a window lays a page out. The setup's seven wizard pages each have a layout of their
// own, control by control; any other page (the builder's) has its text and then its fields
// stacked beside the picture. ui/page_layout.h decides which one a page gets.
enum class PageLayout { Stacked, First, Notice, Licence, Registration, Components, Sharing, Destination };

// A text with its value on the same line, the value set apart ("Disk space required:" and
// "1.2 Mo").
struct LabelValue {
  std::string label;
  std::string value;
};

// A wizard page or page-like dialog. The logic builds it, the backend shows it and returns
// the user's action with the fields as the user left them.
struct Page {
  std::string id;       // "first", "notice", "licence", "registration", "components", ...
  std::string caption;  // window caption
  std::string text;     // everything the page shows besides its fields, in reading order
  std::vector<Field> fields;
  // The layout the page is made for, and its texts part by part as that layout places them;
  // text holds the same texts in reading order (the transcript and the console show it).
  PageLayout layout = PageLayout::Stacked;
  std::string heading;                  // the first text: the welcome, the question
  std::vector<std::string> paragraphs;  // the texts between the heading and the foot
  std::string footer;                   // the text at the foot: the hint, the note
  std::string longText;                 // a text in a box of its own that scrolls (the licence)
  std::vector<LabelValue> rows;         // label and value lines (the disk space)
  bool back = false;                // Back enabled
  std::string next = "&Next >";     // label of Next; empty: no Next
  std::string finish;               // label of Finish; empty: no Finish
  std::string cancel = "Cancel";    // label of Cancel
  std::vector<std::string> actions; // page buttons beside Back/Next ("&Change")
  // Facts the page was made from that it does not show (the destination page's earlier
  // installation of the application); the transcript records them when there are any.
  std::vector<std::pair<std::string, std::string>> facts;
};

struct PageResult {
  enum class Action { Back, Next, Finish, Cancel, PageButton };
  Action action = Action::Next;
  int pageButton = -1;  // index into Page::actions when action is PageButton
  std::vector<Field> fields;
};

// A folder prompt: the user opens a folder; the answer is that folder, a backslash and the
// dummy file name, as a file dialog returns it.
struct FolderPrompt {
  std::string caption;
  std::string text;
  std::string dummyName = "Junk";
  std::string initialFolder;
  // The program writes into the folder (a destination): a read-only drive or folder is
  // refused.
  bool forWriting = false;
  // Where a picker window opens when initialFolder is empty: the folder the question is about
  // (the destination the page shows). Only the windows use it; the console offers no default.
  std::string shownFolder{};
};

// A choice of one item from a list (the builder's directory selector).
struct Choice {
  std::string caption;
  std::string text;
  std::vector<std::string> items;
  int initial = 0;
};

// A progress window: shown or updated by progress(), closed by endProgress().
struct Progress {
  std::string caption;
  std::vector<std::string> lines;  // the texts shown, top to bottom
  int percent = -1;                // 0..100; -1 shows no bar
  std::vector<std::string> boxLabels;
  std::vector<bool> boxes;         // check boxes shown ticked or not
  bool cancellable = false;        // has a Cancel button
};

// The closing dialog of a program.
struct Closing {
  std::string caption;
  std::string text;                 // the whole text shown
  std::optional<int> code;          // setup: the status code
  std::string upper, lower;         // setup: the two texts
  std::vector<bool> boxes;          // uninstaller: the check boxes' states
};

// A disk message: a text file shown while copying reaches a disk.
struct DiskMessage {
  std::string caption;
  std::string text;
  int disk = 0;
};

class Interaction {
 public:
  virtual ~Interaction() = default;

  virtual Answer message(const Message& message) = 0;
  virtual PageResult page(const Page& page) = 0;
  virtual std::optional<std::string> folder(const FolderPrompt& prompt) = 0;
  virtual std::optional<int> choose(const Choice& choice) = 0;
  virtual void diskMessage(const DiskMessage& message) = 0;
  virtual void closing(const Closing& closing) = 0;
  virtual void beep() = 0;

  // The scripted backend never presses Cancel in a progress window, except on request for
  // tests: "CancelOn=<text>" in the answers file's [Progress] section presses it the first
  // time an update shows a line containing that text (cancelPressed() is then true once).
  virtual void progress(const Progress& progress) = 0;
  // True once when the progress window's Cancel was pressed since the last call. The caller
  // asks its own confirmation.
  virtual bool cancelPressed() = 0;
  virtual void endProgress() = 0;

  // True when the last question was answered by default, with no one there to answer it: its
  // default button (an unattended run, an answers file without an entry for the question), or
  // the answers file's Default= for every question beyond its list.
  // Backends that always put the question to a user say false.
  virtual bool answeredByDefault() const { return false; }
};

// Where the backend comes from: VANDREL_UI, VANDREL_ANSWERS, VANDREL_TRANSCRIPT,
// VANDREL_RECORD and VANDREL_DIR.
struct InteractionSettings {
  std::string backend;     // "gui", "console", "scripted"; empty: from the environment
  std::string answersFile;  // host path; empty: none
  std::string transcriptFile;  // host path; empty: none
  std::string recordFile;      // answers file written from an interactive run; empty: none
  std::string screenshotFolder{};  // gui: each window saved there as a PNG file; empty: none
  bool backendNamed = false;  // the backend was named in VANDREL_UI, not chosen by display
  // VANDREL_DIR: the destination folder, the answer of [Wizard] Folder whatever the answers
  // file says; empty: none
  std::string destinationFolder{};
  static InteractionSettings fromEnvironment();
};

// The chosen backend answers from the answers file: scripted, or gui following one.
bool answersFileUsed(const InteractionSettings& settings);

// The one-line message ("tamsin32: the answers file /tmp/a is a folder, not a file") when the
// chosen backend answers from a file (scripted, or gui with one) that cannot be read; the program then stops
// (exit status 1) rather than answer questions the file meant to answer otherwise.
std::optional<std::string> answersFileProblem(Program program, const InteractionSettings& settings);

// The one-line message ("tamsin32: the transcript /tmp/t is a FIFO, not a regular file") when
// the files a run writes its records to cannot take them: the transcript, the action log
// (actionLog, empty for none) or the recorded answers file exists and is not a regular file,
// or two of the run's files, the answers file among them, are one file (by identity: links
// and other spellings of one file count). The program then stops (exit status 1) before it
// changes anything, rather than wait for ever on a FIFO or write one record over another.
std::optional<std::string> runFilesProblem(Program program, const InteractionSettings& settings,
                                           const std::string& actionLog);

// The backend for a program, wrapped in an answers recorder (interactive backends only) and a
// transcript recorder when they are asked for.
// "gui" falls back to the console where no GUI backend is linked in or no display is there;
// asked for by name, it says so on standard error.
std::unique_ptr<Interaction> makeInteraction(Program program, const InteractionSettings& settings);

// Whether a run with these settings says on standard error why it failed: the scripted and
// console backends do (a graphical run has shown its dialogs to the user).
bool explainsOnStandardError(const InteractionSettings& settings);

// Called once by a program that links a GUI backend, before makeInteraction; "gui" then
// builds its backend through this factory, which returns null when no window system can be
// reached (the console is then used).
using GuiFactory = std::function<std::unique_ptr<Interaction>(Program, const InteractionSettings&)>;
void registerGuiBackend(GuiFactory factory);

// A window system is there to show windows on: DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM set.
bool displayAvailable();

}  // namespace vandrel::ui
