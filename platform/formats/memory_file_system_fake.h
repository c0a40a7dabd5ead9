// An in-memory FileSystem for tests of the code that works over any file system; it can be
// told to fail writes after a number of bytes (a full disk).
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace vandrel::platform::fake {

class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::string, Bytes> files;       // by exact path
  std::size_t writeLimit = SIZE_MAX;        // bytes any one file may hold
  bool failReads = false;

  std::unique_ptr<File> open(const std::string& path, OpenMode mode) override {
    if (!files.count(path)) return nullptr;
    return std::make_unique<MemoryFile>(*this, path, mode != OpenMode::Read);
  }
  std::unique_ptr<File> create(const std::string& path) override {
    files[path].clear();
    return std::make_unique<MemoryFile>(*this, path, true);
  }
  bool createDirectory(const std::string&) override { return false; }
  bool removeDirectory(const std::string&) override { return false; }
  bool deleteFile(const std::string& path) override { return files.erase(path) > 0; }
  bool moveFile(const std::string&, const std::string&) override { return false; }
  std::optional<FileStatus> status(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    FileStatus s;
    s.size = it->second.size();
    s.attributes = attr::Archive;
    return s;
  }
  bool setFileTimes(const std::string&, std::optional<FileTime>, std::optional<FileTime>,
                    std::optional<FileTime>) override {
    return false;
  }
  bool setAttributes(const std::string&, std::uint32_t) override { return false; }
  std::vector<FindData> find(const std::string&) override { return {}; }
  std::optional<DiskSpace> diskFreeSpace(const std::string&) override { return std::nullopt; }
  unsigned tempFileName(const std::string&, const std::string&, unsigned, std::string&) override {
    return 0;
  }
  std::string currentDirectory() override { return "C:\\"; }
  bool setCurrentDirectory(const std::string&) override { return false; }
  std::string fullPath(const std::string& path) override { return path; }
  std::optional<std::filesystem::path> hostPath(const std::string&) override { return std::nullopt; }
  std::optional<std::string> windowsPath(const std::filesystem::path&) override {
    return std::nullopt;
  }

 private:
  class MemoryFile : public File {
   public:
    MemoryFile(MemoryFileSystem& fs, std::string path, bool writable)
        : fs_(fs), path_(std::move(path)), writable_(writable) {}
    std::int64_t read(void* buffer, std::size_t count) override {
      if (fs_.failReads) return -1;
      Bytes& data = fs_.files[path_];
      std::size_t n = offset_ < data.size() ? std::min(count, data.size() - offset_) : 0;
      if (n) std::memcpy(buffer, data.data() + offset_, n);
      offset_ += n;
      return std::int64_t(n);
    }
    std::int64_t write(const void* buffer, std::size_t count) override {
      if (!writable_) return -1;
      Bytes& data = fs_.files[path_];
      if (offset_ >= fs_.writeLimit) return -1;
      std::size_t n = std::min(count, fs_.writeLimit - offset_);
      if (data.size() < offset_ + n) data.resize(offset_ + n);
      std::memcpy(data.data() + offset_, buffer, n);
      offset_ += n;
      return std::int64_t(n);
    }
    bool seek(std::uint64_t offset) override {
      offset_ = std::size_t(offset);
      return true;
    }
    std::uint64_t size() override { return fs_.files[path_].size(); }

   private:
    MemoryFileSystem& fs_;
    std::string path_;
    bool writable_;
    std::size_t offset_ = 0;
  };
};

}  // namespace vandrel::platform::fake
