// The tips file read one tip at a time from the place kept.
#include "builder/prefs/tip_file.h"

#include <fstream>

namespace vandrel::builder::prefs {

namespace {

std::string timeStampOf(const std::filesystem::path& file) {
  std::error_code ec;
  auto time = std::filesystem::last_write_time(file, ec);
  return ec ? std::string() : std::to_string(time.time_since_epoch().count());
}

}  // namespace

TipFile::TipFile(std::filesystem::path file, TipPlace stored)
    : file_(std::move(file)),
      position_(stored.position),
      stamp_(std::move(stored.stamp)),
      showAtStartUp_(stored.showAtStartUp) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file_, ec)) {
    status_ = Status::Missing;
    return;
  }
  std::string now = timeStampOf(file_);
  if (now != stamp_) {
    position_ = 0;
    stamp_ = now;
  }
}

std::string TipFile::next() {
  if (status_ == Status::Missing) return {};
  std::ifstream in(file_, std::ios::binary);
  if (!in) {
    status_ = Status::Unreadable;
    return {};
  }
  in.seekg(0, std::ios::end);
  long long size = in.tellg();
  if (position_ < 0 || position_ >= size) position_ = 0;
  in.seekg(position_);
  // At most two passes: from the place kept to the end, then from the top.
  for (int pass = 0; pass < 2; ++pass) {
    std::string line;
    while (std::getline(in, line)) {
      if (line.size() > kMaxLine) line.resize(kMaxLine);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty()) continue;
      position_ = in.tellg() < 0 ? size : static_cast<long long>(in.tellg());
      return line;
    }
    in.clear();
    in.seekg(0);
  }
  position_ = 0;
  return {};
}

TipPlace TipFile::place() const { return {position_, stamp_, showAtStartUp_}; }

void TipFile::setShowAtStartUp(bool show) { showAtStartUp_ = show; }

}  // namespace vandrel::builder::prefs
