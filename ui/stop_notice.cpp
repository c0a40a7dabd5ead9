// The lines of a program that stops before its windows, kept and shown in a message box.
#include "ui/stop_notice.h"

#include <iostream>

namespace vandrel::ui {

// Passes every character on to standard error's own buffer and keeps a copy.
class StandardErrorCopy::Tee : public std::streambuf {
 public:
  explicit Tee(std::streambuf* out) : out_(out) {}
  const std::string& kept() const { return kept_; }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    kept_ += traits_type::to_char_type(c);
    return out_->sputc(traits_type::to_char_type(c));
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    kept_.append(s, static_cast<std::size_t>(n));
    return out_->sputn(s, n);
  }
  int sync() override { return out_->pubsync(); }

 private:
  std::streambuf* out_;
  std::string kept_;
};

StandardErrorCopy::StandardErrorCopy()
    : tee_(std::make_unique<Tee>(std::cerr.rdbuf())), original_(std::cerr.rdbuf(tee_.get())) {}

StandardErrorCopy::~StandardErrorCopy() { std::cerr.rdbuf(original_); }

std::string StandardErrorCopy::lines(const std::string& program) const {
  const std::string prefix = program + ": ";
  std::string out;
  std::size_t at = 0;
  const std::string& kept = tee_->kept();
  while (at < kept.size()) {
    std::size_t end = kept.find('\n', at);
    if (end == std::string::npos) end = kept.size();
    std::string line = kept.substr(at, end - at);
    if (line.rfind(prefix, 0) == 0) line.erase(0, prefix.size());
    if (!out.empty()) out += '\n';
    out += line;
    at = end + 1;
  }
  return out;
}

bool showStopInWindow(Program program, const InteractionSettings& settings, const Message& stop) {
  std::unique_ptr<Interaction> windows = makeWindowInteraction(program, settings);
  if (!windows) return false;
  Message shown = stop;
  shown.buttons = Buttons::OK;
  shown.icon = Icon::Stop;
  windows->message(shown);
  return true;
}

}  // namespace vandrel::ui
