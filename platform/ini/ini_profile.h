// The profile functions over any file system: reads served from a parsed-file cache,
// writes replacing the file atomically.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/change_lock.h"
#include "platform/file_system.h"
#include "platform/profile.h"

namespace vandrel::platform {

class IniDocument;

class IniProfile : public Profile {
 public:
  // windowsFolder gives the folder of WIN.INI and of files named without a folder. With a
  // lock (shared by every process working on the files), each write holds it from reading
  // the file to replacing it, and a run of gathered writes holds it from gatherWrites() to
  // flush(): another process's edits of the file are never lost. A write that cannot have
  // the lock fails.
  IniProfile(FileSystem& files, std::function<std::string()> windowsFolder, ChangeLock* lock = nullptr);
  ~IniProfile() override;  // writes back what gathered writes still hold

  std::string getString(const std::string& file, const std::optional<std::string>& section,
                        const std::optional<std::string>& key, const std::string& def,
                        std::size_t size) override;
  int getInt(const std::string& file, const std::string& section, const std::string& key,
             int def) override;
  bool writeString(const std::string& file, const std::string& section,
                   const std::optional<std::string>& key,
                   const std::optional<std::string>& value) override;
  std::string getProfileString(const std::optional<std::string>& section,
                               const std::optional<std::string>& key, const std::string& def,
                               std::size_t size) override;
  bool writeProfileString(const std::string& section, const std::optional<std::string>& key,
                          const std::optional<std::string>& value) override;
  void beginLook(const std::string& file) override;
  void endLook(const std::string& file) override;
  void settleLooks() override;
  void gatherWrites() override;
  void holdWrites() override;
  bool flush() override;

 private:
  struct Cache;
  // The full path of a profile file; empty when it cannot be mapped.
  std::string locate(const std::string& file) const;
  // The parsed file (from the cache when unchanged); null when missing or unreadable.
  std::shared_ptr<IniDocument> load(const std::string& path);
  // Replaces the file with the document's text through a temporary file in its folder.
  bool save(const std::string& path, const std::shared_ptr<IniDocument>& document);
  bool replaceWith(const std::string& temp, const std::string& path, bool exists);
  std::string winIni() const;
  // Takes the lock; parsed files kept from before another process held it are dropped.
  bool lockFiles();
  void unlockFiles();
  // The write itself, the lock held.
  bool edit(const std::string& path, const std::string& section, const std::optional<std::string>& key,
            const std::optional<std::string>& value);

  FileSystem& files_;
  std::function<std::string()> windowsFolder_;
  std::unique_ptr<Cache> cache_;
  ChangeLock* lock_;
  bool gathering_ = false;
  bool holding_ = false;  // gathered edits wait for flush() whatever their number
};

}  // namespace vandrel::platform
