// Windows profile (INI) functions: GetPrivateProfileStringA and its relatives.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace vandrel::platform {

class Profile {
 public:
  virtual ~Profile() = default;

  // GetPrivateProfileStringA. A file name without folder lies in the Windows folder.
  // Without a section: the section names; without a key: the key names of the section;
  // both as names each followed by "\0", cut to fit. size is the caller's buffer size:
  // at most size-1 characters come back. The returned text is what lands in the buffer
  // (without the final terminator).
  virtual std::string getString(const std::string& file, const std::optional<std::string>& section,
                                const std::optional<std::string>& key, const std::string& def,
                                std::size_t size) = 0;
  // GetPrivateProfileIntA.
  virtual int getInt(const std::string& file, const std::string& section, const std::string& key,
                     int def) = 0;
  // WritePrivateProfileStringA: without a key the section is deleted; without a value the key
  // is deleted. The file is replaced atomically.
  virtual bool writeString(const std::string& file, const std::string& section,
                           const std::optional<std::string>& key,
                           const std::optional<std::string>& value) = 0;

  // GetProfileStringA / WriteProfileStringA: the same on the Windows folder's WIN.INI.
  virtual std::string getProfileString(const std::optional<std::string>& section,
                                       const std::optional<std::string>& key,
                                       const std::string& def, std::size_t size) = 0;
  virtual bool writeProfileString(const std::string& section, const std::optional<std::string>& key,
                                  const std::optional<std::string>& value) = 0;

  // Reads of file from beginLook() to the matching endLook() may share one look at the file
  // (whether it changed): a change another program makes meanwhile is seen from the next look
  // on, and this profile's own writes are seen at once. For a run of reads that belong
  // together, such as the values of one entry. Looks may nest.
  virtual void beginLook(const std::string& file) { (void)file; }
  virtual void endLook(const std::string& file) { (void)file; }
  // Before the program waits on something else (the user's answer), during which another
  // program may change a file: the next read of a file in a look looks at it again.
  virtual void settleLooks() {}

  // A long run of writes: between gatherWrites() and flush(), a written file may be replaced
  // only after a number of edits that grows with its size, so that the run costs time in
  // proportion to its length rather than to its length times the file's. Reads through this
  // profile see every write at once, the file on disk always holds the edits up to some
  // point of the run in order, and flush() writes back the rest and ends the run; false when
  // a write back failed (the edits since the last one are then lost).
  virtual void gatherWrites() {}
  // A short run of writes to a file only this program uses (the setup's own copy of its
  // script): the edits are held until flush() writes each file once.
  virtual void holdWrites() { gatherWrites(); }
  virtual bool flush() { return true; }
};

// One look at a profile file for the reads made during a scope.
class ProfileLook {
 public:
  ProfileLook(Profile& profile, std::string file) : profile_(profile), file_(std::move(file)) {
    profile_.beginLook(file_);
  }
  ~ProfileLook() { profile_.endLook(file_); }
  ProfileLook(const ProfileLook&) = delete;
  ProfileLook& operator=(const ProfileLook&) = delete;

 private:
  Profile& profile_;
  std::string file_;
};

// One look at a profile file per block of entries read in a row: a walk over a long list
// looks at the file once per block instead of once per entry, and a change another program
// makes during the walk is seen from the next block on (or at once after a question, which
// settles the looks). next() is called before each entry's reads.
class LookPerBlock {
 public:
  LookPerBlock(Profile& profile, std::string file, long perBlock = 64)
      : profile_(profile), file_(std::move(file)), perBlock_(perBlock) {}
  void next() {
    if (read_++ % perBlock_ != 0) return;
    look_.reset();
    look_.emplace(profile_, file_);
  }

 private:
  Profile& profile_;
  std::string file_;
  long perBlock_;
  long read_ = 0;
  std::optional<ProfileLook> look_;
};

}  // namespace vandrel::platform
