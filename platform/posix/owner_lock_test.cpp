// Owner locks on POSIX systems: a folder is judged left over only once the program holding its
// lock has ended (killed, here).
#include "platform/owner_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace vandrel::platform {
namespace {

TEST(OwnerLock, TheLockOfAKilledOwnerIsTakenAndItsFolderCleared) {
  test::TempDir dir;
  const fs::path lock = dir.path() / "work.lock";
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  pid_t owner = ::fork();
  if (owner == 0) {
    OwnerLock held;
    char done = held.hold(lock) ? 1 : 0;
    if (::write(ready[1], &done, 1) != 1) _exit(1);
    ::pause();
    _exit(0);
  }
  char done = 0;
  ASSERT_EQ(::read(ready[0], &done, 1), 1);
  ASSERT_EQ(done, 1);
  bool cleared = false;
  EXPECT_FALSE(clearIfOwnerGone(lock, [&] { cleared = true; })) << "its owner still runs";
  ::kill(owner, SIGKILL);
  int status = 0;
  ::waitpid(owner, &status, 0);
  EXPECT_TRUE(clearIfOwnerGone(lock, [&] { cleared = true; }));
  EXPECT_TRUE(cleared);
  EXPECT_FALSE(fs::exists(lock));
  ::close(ready[0]);
  ::close(ready[1]);
}

}  // namespace
}  // namespace vandrel::platform
