// The drive jail: Windows paths resolved to host paths that never lead out of a drive's folder.
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/emulated/folder_names.h"
#include "platform/emulated/host_file.h"
#include "platform/emulated/machine_config.h"
#include "platform/text/windows_path.h"

namespace vandrel::platform::emulated {

// Whether path lies in folder, compared name by name as written (no link is followed).
bool isPrefix(const std::filesystem::path& folder, const std::filesystem::path& path);

// Each drive's folder is opened once and kept open, so that the host walks only the names
// below it; names are matched without regard to case through the kept folder listings
// (names), which the file operations keep in step with their own changes.
class DriveJail {
 public:
  // A Windows path and the host entry it names inside its drive.
  struct Resolved {
    text::WinPath win;
    std::string host;  // kept as text: the calls made with it take text
    const DriveMapping* drive = nullptr;
    bool exists = false;            // the host has an entry of that name (perhaps a broken link)
    std::optional<HostStat> entry;  // what it is, links followed; empty when missing or broken
    bool linked = false;            // a symbolic link was on the way (one that stays inside)
    bool atRoot() const { return win.parts.empty(); }
  };

  DriveJail(const std::vector<DriveMapping>& drives, FolderNames& names);
  ~DriveJail();
  DriveJail(const DriveJail&) = delete;
  DriveJail& operator=(const DriveJail&) = delete;

  const DriveMapping* drive(char letter) const;
  // The drive's folder with every link in it followed.
  const std::filesystem::path& canonicalRoot(char letter) const {
    return canonicalRoots_.at(letter);
  }

  // The host entry win names, or nullopt when its drive is not mapped or a link on the way
  // leads out of the drive. Each name is matched as given first, then without regard to case;
  // once a name is missing, the names below it are taken as given.
  std::optional<Resolved> resolve(text::WinPath win);

  // Opens the file win names exactly, below the drive's folder, with a call that refuses
  // every link and any step out of the drive: read-only and not blocking, and only once a
  // look has found a plain file there. -1 when that cannot tell (a link, another spelling, a
  // missing name, a folder, a device), for the walk to decide; the host path goes to *host
  // and its status to *st.
  int openExact(const text::WinPath& win, std::string* host, std::optional<HostStat>* st);
  // Makes the new file win names, when no entry of its folder has that name in any spelling,
  // in one call that refuses every link and any step out of the drive: open for reading and
  // writing. -1 when that cannot tell (for the walk to decide). Its host path goes to *host.
  int createExact(const text::WinPath& win, const DriveMapping& drive, std::string* host);
  // Opens for reading the file a walk found without a link on the way, by its path below the
  // drive's folder, refusing any link met on the way now; -1 with errno on failure.
  int openUnlinked(const Resolved& r);
  // Whether an open file lies in the drive's folder, where the host says it is; true where
  // the host cannot tell (no /proc), leaving the walk's check alone.
  bool openInsideDrive(int fd, const DriveMapping& drive) const;
  // Whether a host path, every link on it followed (a dangling one too), lies in the drive.
  bool insideDrive(const std::filesystem::path& host, const DriveMapping& drive) const;
  // Removes the file r names (a host path below its drive's folder). With held, the file is
  // first opened as a path only, and that descriptor (or -1) goes to *held: the file's
  // storage is given back when it closes, not by the removal.
  bool unlinkBelow(const Resolved& r, int* held = nullptr);

 private:
  // resolve() for a deep path in one walk by the host, filling r; false when that cannot
  // tell (a link or a missing or differently cased folder on the way), for the name-by-name
  // walk to decide.
  bool resolveDeep(Resolved& r);
  // The name-by-name walk of resolve(): fills r's host path and whether a link was on the
  // way; gives what was found at the last name (a link telling of itself).
  std::optional<HostStat> walkNames(Resolved& r);
  // The drive's folder, open for walks below it; -1 when it cannot be opened.
  int rootFolder(const DriveMapping& drive);
  // The exact host path of win below the drive's folder, and where the part below it starts.
  static std::string exactHostPath(const text::WinPath& win, const DriveMapping& drive,
                                   std::size_t* below);

  std::vector<DriveMapping> drives_;
  FolderNames& names_;
  std::map<char, std::filesystem::path> canonicalRoots_;
  std::map<char, int> rootFolders_;  // open drive folders, for walks below them
};

}  // namespace vandrel::platform::emulated
