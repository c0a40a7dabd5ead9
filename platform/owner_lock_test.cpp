// Owner locks: a lock file held by a running program keeps its folder; released, it is gone.
#include "platform/owner_lock.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace vandrel::platform {
namespace {

TEST(OwnerLock, AHeldLockKeepsItsFolder) {
  test::TempDir dir;
  const fs::path lock = dir.path() / "work.lock";
  OwnerLock owner;
  ASSERT_TRUE(owner.hold(lock));
  bool cleared = false;
  EXPECT_FALSE(clearIfOwnerGone(lock, [&] { cleared = true; }));
  EXPECT_FALSE(cleared);
  EXPECT_TRUE(fs::exists(lock));
  EXPECT_FALSE(OwnerLock().hold(lock)) << "a lock file that exists is not made again";
  owner.release();
  EXPECT_FALSE(fs::exists(lock)) << "released, the lock file is gone";
  EXPECT_FALSE(clearIfOwnerGone(lock, [&] { cleared = true; }));
  EXPECT_FALSE(cleared);
  for (const auto& entry : fs::directory_iterator(dir.path())) ADD_FAILURE() << "left: " << entry.path();
}

}  // namespace
}  // namespace vandrel::platform
