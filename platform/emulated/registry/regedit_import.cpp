// Reading REGEDIT4 text into the registry: checked in full first, then applied.
#include "platform/emulated/registry/regedit_text.h"

#include <cctype>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/emulated/registry/key_names.h"

namespace vandrel::platform::emulated {

namespace {

enum class Action { OpenKey, DeleteKey, SetValue, DeleteValue };

struct Operation {
  Action action = Action::SetValue;
  std::size_t line = 0;
  HKey root = 0;
  std::string path;  // below the root
  std::string name;
  std::uint32_t type = 0;
  Bytes data;
};

// A fault in the text, with the line it is on.
struct ParseError {
  std::size_t line;
  std::string message;
};

void appendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += char(code);
  } else if (code < 0x800) {
    out += char(0xc0 | (code >> 6));
    out += char(0x80 | (code & 0x3f));
  } else if (code < 0x10000) {
    out += char(0xe0 | (code >> 12));
    out += char(0x80 | ((code >> 6) & 0x3f));
    out += char(0x80 | (code & 0x3f));
  } else {
    out += char(0xf0 | (code >> 18));
    out += char(0x80 | ((code >> 12) & 0x3f));
    out += char(0x80 | ((code >> 6) & 0x3f));
    out += char(0x80 | (code & 0x3f));
  }
}

// UTF-16LE bytes as UTF-8; an unpaired surrogate becomes U+FFFD, an odd last byte is dropped.
std::string utf16ToUtf8(std::string_view bytes) {
  std::string out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    std::uint32_t unit = std::uint8_t(bytes[i]) | (std::uint8_t(bytes[i + 1]) << 8);
    if (unit >= 0xd800 && unit < 0xdc00 && i + 3 < bytes.size()) {
      std::uint32_t low = std::uint8_t(bytes[i + 2]) | (std::uint8_t(bytes[i + 3]) << 8);
      if (low >= 0xdc00 && low < 0xe000) {
        appendUtf8(out, 0x10000 + ((unit - 0xd800) << 10) + (low - 0xdc00));
        i += 2;
        continue;
      }
    }
    appendUtf8(out, unit >= 0xd800 && unit < 0xe000 ? 0xfffd : unit);
  }
  return out;
}

std::string_view trim(std::string_view text) {
  std::size_t start = 0, end = text.size();
  while (start < end && std::isspace(static_cast<unsigned char>(text[start]))) ++start;
  while (end > start && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(start, end - start);
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && foldName(text.substr(0, prefix.size())) == foldName(prefix);
}

class Parser {
 public:
  explicit Parser(std::string_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      lines_.push_back(line);
      start = end + 1;
    }
  }

  std::vector<Operation> parse() {
    readHeader();
    for (; next_ < lines_.size(); ++next_) {
      std::string_view line = trim(lines_[next_]);
      if (line.empty() || line[0] == ';') continue;
      if (line[0] == '[') {
        keyLine(line);
      } else if (line[0] == '"' || line[0] == '@') {
        valueLine(line);
      } else {
        fail("not a key, a value or a comment: " + std::string(line.substr(0, 40)));
      }
    }
    return std::move(operations_);
  }

 private:
  [[noreturn]] void fail(const std::string& message) const { throw ParseError{next_ + 1, message}; }

  void readHeader() {
    while (next_ < lines_.size() && trim(lines_[next_]).empty()) ++next_;
    std::string_view header = next_ < lines_.size() ? trim(lines_[next_]) : std::string_view();
    if (header == "REGEDIT4") {
      unicode_ = false;
    } else if (header == "Windows Registry Editor Version 5.00") {
      unicode_ = true;
    } else {
      if (next_ == lines_.size()) next_ = 0;
      fail("the text does not start with REGEDIT4");
    }
    ++next_;
  }

  void keyLine(std::string_view line) {
    if (line.back() != ']') fail("a key line must end with ]");
    std::string_view inner = line.substr(1, line.size() - 2);
    bool remove = !inner.empty() && inner[0] == '-';
    if (remove) inner.remove_prefix(1);
    std::vector<std::string> names = splitKeyPath(inner);
    if (names.empty()) fail("empty key name");
    std::optional<RootName> root = findRoot(names[0]);
    if (!root) fail("unknown registry root \"" + names[0] + "\"");
    std::string path;
    for (std::size_t i = 1; i < names.size(); ++i) path += (i > 1 ? "\\" : "") + names[i];
    if (remove && path.empty()) fail("a root key cannot be deleted");
    Operation op;
    op.action = remove ? Action::DeleteKey : Action::OpenKey;
    op.line = next_ + 1;
    op.root = root->key;
    op.path = path;
    operations_.push_back(std::move(op));
    inKey_ = !remove;
  }

  // A quoted text starting at text[pos] == '"', with \\ and \" escapes; pos ends after it.
  std::string quotedText(std::string_view text, std::size_t& pos) const {
    std::string out;
    for (++pos; pos < text.size(); ++pos) {
      char c = text[pos];
      if (c == '"') {
        ++pos;
        return out;
      }
      if (c == '\\' && pos + 1 < text.size() && (text[pos + 1] == '\\' || text[pos + 1] == '"'))
        c = text[++pos];
      out += c;
    }
    fail("missing closing quote");
  }

  void valueLine(std::string_view line) {
    if (!inKey_) fail("a value outside a key");
    std::size_t pos = 0;
    Operation op;
    op.line = next_ + 1;
    if (line[0] == '@') {
      pos = 1;
    } else {
      op.name = quotedText(line, pos);
    }
    while (pos < line.size() && line[pos] == ' ') ++pos;
    if (pos >= line.size() || line[pos] != '=') fail("missing = after the value name");
    std::string_view data = trim(line.substr(pos + 1));
    if (data == "-") {
      op.action = Action::DeleteValue;
    } else if (!data.empty() && data[0] == '"') {
      stringData(data, op);
    } else if (startsWithIgnoringCase(data, "dword:")) {
      dwordData(data.substr(6), op);
    } else if (startsWithIgnoringCase(data, "hex")) {
      hexData(data.substr(3), op);
    } else {
      fail("unrecognised value data: " + std::string(data.substr(0, 40)));
    }
    operations_.push_back(std::move(op));
  }

  void stringData(std::string_view data, Operation& op) const {
    std::size_t pos = 0;
    std::string text = quotedText(data, pos);
    std::string_view rest = trim(data.substr(pos));
    if (!rest.empty() && rest[0] != ';') fail("unexpected text after the closing quote");
    op.type = regtype::Sz;
    op.data.assign(text.begin(), text.end());
    op.data.push_back(0);
  }

  void dwordData(std::string_view digits, Operation& op) const {
    std::size_t end = digits.find(';');
    digits = trim(digits.substr(0, end));
    if (digits.empty() || digits.size() > 8) fail("dword: needs 1 to 8 hex digits");
    std::uint32_t number = 0;
    for (char c : digits) {
      if (!std::isxdigit(static_cast<unsigned char>(c))) fail("dword: needs 1 to 8 hex digits");
      number = number * 16 + std::uint32_t(std::isdigit(static_cast<unsigned char>(c))
                                                ? c - '0'
                                                : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
    }
    op.type = regtype::Dword;
    op.data = {std::uint8_t(number), std::uint8_t(number >> 8), std::uint8_t(number >> 16),
               std::uint8_t(number >> 24)};
  }

  // After "hex": an optional "(type)", a colon, then byte pairs separated by commas, going on
  // over lines that end in "\".
  void hexData(std::string_view rest, Operation& op) {
    op.type = regtype::Binary;
    if (!rest.empty() && rest[0] == '(') {
      std::size_t close = rest.find(')');
      std::string_view digits = close == std::string_view::npos ? "" : rest.substr(1, close - 1);
      if (digits.empty() || digits.size() > 8 ||
          digits.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos)
        fail("hex( needs a hex type number and )");
      op.type = std::uint32_t(std::stoul(std::string(digits), nullptr, 16));
      rest.remove_prefix(close + 1);
    }
    if (rest.empty() || rest[0] != ':') fail("missing : after hex");
    std::string bytes(trim(rest.substr(1)));
    while (!bytes.empty() && bytes.back() == '\\') {
      bytes.pop_back();
      if (++next_ >= lines_.size()) {
        --next_;
        fail("hex data continues past the end of the text");
      }
      bytes += trim(lines_[next_]);
    }
    op.data = hexBytes(bytes);
    bool utf16 = op.type == regtype::Sz || op.type == regtype::ExpandSz || op.type == regtype::MultiSz;
    if (unicode_ && utf16) {
      std::string narrow = utf16ToUtf8(std::string_view(
          reinterpret_cast<const char*>(op.data.data()), op.data.size()));
      op.data.assign(narrow.begin(), narrow.end());
    }
  }

  Bytes hexBytes(std::string_view text) const {
    std::size_t comment = text.find(';');
    text = trim(text.substr(0, comment));
    Bytes out;
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find(',', start);
      if (end == std::string_view::npos) end = text.size();
      std::string_view pair = trim(text.substr(start, end - start));
      bool lastAfterComma = pair.empty() && end == text.size();  // a trailing comma
      if (!lastAfterComma) {
        if (pair.empty() || pair.size() > 2 ||
            pair.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos)
          fail("bad hex byte \"" + std::string(pair) + "\"");
        out.push_back(std::uint8_t(std::stoul(std::string(pair), nullptr, 16)));
      }
      start = end + 1;
    }
    return out;
  }

  std::vector<std::string_view> lines_;
  std::size_t next_ = 0;
  bool unicode_ = false;
  bool inKey_ = false;
  std::vector<Operation> operations_;
};

// Removes a key with everything below it on either kind of machine: subkeys first.
long deleteTree(Registry& registry, HKey parent, const std::string& path) {
  HKey key = 0;
  long rc = registry.openKey(parent, path, key);
  if (rc != error::Success) return rc;
  std::vector<std::string> subkeys;
  std::string name;
  for (std::uint32_t i = 0; registry.enumKey(key, i, name) == error::Success; ++i)
    subkeys.push_back(name);
  for (const std::string& subkey : subkeys) {
    rc = deleteTree(registry, key, subkey);
    if (rc != error::Success && rc != error::FileNotFound) break;
    rc = error::Success;
  }
  registry.closeKey(key);
  return rc == error::Success ? registry.deleteKey(parent, path) : rc;
}

std::string describe(const Operation& op, const std::string& what, long rc) {
  return "line " + std::to_string(op.line) + ": " + what + " (error " + std::to_string(rc) + ")";
}

bool apply(Registry& registry, const std::vector<Operation>& operations, std::string& error) {
  HKey current = 0;
  bool haveKey = false;
  auto release = [&] {
    if (haveKey) registry.closeKey(current);
    haveKey = false;
  };
  for (const Operation& op : operations) {
    long rc = error::Success;
    switch (op.action) {
      case Action::OpenKey:
        release();
        rc = registry.createKey(op.root, op.path, current);
        haveKey = rc == error::Success;
        if (!haveKey) error = describe(op, "cannot create the key", rc);
        break;
      case Action::DeleteKey:
        release();
        rc = deleteTree(registry, op.root, op.path);
        if (rc == error::FileNotFound) rc = error::Success;  // already absent
        if (rc != error::Success) error = describe(op, "cannot delete the key", rc);
        break;
      case Action::SetValue:
        rc = registry.setValue(current, op.name, op.type, op.data);
        if (rc != error::Success) error = describe(op, "cannot set the value", rc);
        break;
      case Action::DeleteValue:
        rc = registry.deleteValue(current, op.name);
        if (rc == error::FileNotFound) rc = error::Success;
        if (rc != error::Success) error = describe(op, "cannot delete the value", rc);
        break;
    }
    if (rc != error::Success) {
      release();
      return false;
    }
  }
  release();
  return true;
}

}  // namespace

bool importRegedit4(Registry& registry, const std::string& text, std::string& error) {
  std::string decoded;
  std::string_view view = text;
  if (view.size() >= 2 && std::uint8_t(view[0]) == 0xff && std::uint8_t(view[1]) == 0xfe) {
    decoded = utf16ToUtf8(view.substr(2));
    view = decoded;
  } else if (view.size() >= 3 && view.substr(0, 3) == "\xef\xbb\xbf") {
    view.remove_prefix(3);
  }
  std::vector<Operation> operations;
  try {
    operations = Parser(view).parse();
  } catch (const ParseError& e) {
    error = "line " + std::to_string(e.line) + ": " + e.message;
    return false;
  }
  return apply(registry, operations, error);
}

}  // namespace vandrel::platform::emulated
