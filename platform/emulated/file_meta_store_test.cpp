// Tests of the side store of creation times and attributes: records, moves, two programs on
// one store, changes that change nothing, and a damaged store.
#include "platform/emulated/file_meta_store.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace vandrel::platform::emulated {
namespace {

using test::TempDir;
using test::writeFile;

// A second program's plain connection to the store file.
class RawDb {
 public:
  explicit RawDb(const fs::path& file) { sqlite3_open(file.c_str(), &db_); }
  ~RawDb() { sqlite3_close(db_); }
  std::string text(const char* sql) {
    sqlite3_stmt* st = nullptr;
    std::string result = "<error>";
    if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
      result = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    return result;
  }
  bool exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

 private:
  sqlite3* db_ = nullptr;
};

TEST(FileMetaStoreTest, RecordsAreKeptAndARecordWithNothingLeftGoes) {
  TempDir temp;
  FileMetaStore store(temp / "meta.db");
  const fs::path file = "/m/drive_c/a.txt";
  EXPECT_EQ(store.get(file), FileMeta{});
  ASSERT_TRUE(store.setCreation(file, 125911584000000000ULL));
  ASSERT_TRUE(store.setAttributes(file, 0u));  // "normal" is a value, not the absence of one
  EXPECT_EQ(store.get(file), (FileMeta{125911584000000000ULL, 0u}));
  ASSERT_TRUE(store.setAttributes(file, std::nullopt));
  EXPECT_EQ(store.get(file), (FileMeta{125911584000000000ULL, std::nullopt}));
  RawDb raw(temp / "meta.db");
  EXPECT_EQ(raw.text("SELECT count(*) FROM files"), "1");
  ASSERT_TRUE(store.setCreation(file, std::nullopt));
  EXPECT_EQ(raw.text("SELECT count(*) FROM files"), "0");
  EXPECT_EQ(raw.text("PRAGMA journal_mode"), "wal");
}

TEST(FileMetaStoreTest, MovesCarryTheRecordsBelowAndNotTheNeighbours) {
  TempDir temp;
  FileMetaStore store(temp / "meta.db");
  for (const char* path : {"/c/app", "/c/app/x.dll", "/c/app/sub/y.dll", "/c/app.txt", "/c/apple/z", "/c/new/old"})
    ASSERT_TRUE(store.setAttributes(path, 2u)) << path;
  store.rename("/c/app", "/c/new");
  for (const char* gone : {"/c/app", "/c/app/x.dll", "/c/app/sub/y.dll", "/c/new/old"})
    EXPECT_FALSE(store.get(gone).attributes) << gone;
  for (const char* kept : {"/c/new", "/c/new/x.dll", "/c/new/sub/y.dll", "/c/app.txt", "/c/apple/z"})
    EXPECT_EQ(store.get(kept).attributes, 2u) << kept;
  // Moving what has no record leaves the store alone, and drops what the target had.
  store.rename("/c/none", "/c/app.txt");
  EXPECT_FALSE(store.get("/c/app.txt").attributes);
  store.forget("/c/new/x.dll");
  EXPECT_FALSE(store.get("/c/new/x.dll").attributes);
}

TEST(FileMetaStoreTest, TwoProgramsShareTheStoreAndUnchangedValuesWriteNothing) {
  TempDir temp;
  FileMetaStore first(temp / "meta.db");
  FileMetaStore second(temp / "meta.db");
  ASSERT_TRUE(first.setAttributes("/c/f", 1u));
  EXPECT_EQ(second.get("/c/f").attributes, 1u);
  ASSERT_TRUE(second.setCreation("/c/f", 42));
  EXPECT_EQ(first.get("/c/f"), (FileMeta{42, 1u}));

  // While another program writes, reads go on and a change to the same value needs no lock.
  RawDb writer(temp / "meta.db");
  ASSERT_TRUE(writer.exec("BEGIN IMMEDIATE"));
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(first.setAttributes("/c/f", 1u));
  EXPECT_TRUE(first.setCreation("/c/f", 42));
  EXPECT_TRUE(first.setAttributes("/c/none", std::nullopt));
  EXPECT_TRUE(first.setBoth("/c/f", 42, 1u));
  first.forget("/c/none");
  first.rename("/c/none", "/c/other");
  EXPECT_EQ(first.get("/c/f"), (FileMeta{42, 1u}));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  ASSERT_TRUE(writer.exec("COMMIT"));
}

TEST(FileMetaStoreTest, ABatchKeepsEveryChangeAndMovesInsideIt) {
  TempDir temp;
  RawDb raw(temp / "meta.db");
  {
    FileMetaStore store(temp / "meta.db");
    store.beginBatch();
    store.beginBatch();  // nested: the outer batch goes on
    for (int i = 0; i < 2500; ++i) ASSERT_TRUE(store.setAttributes("/c/f" + std::to_string(i), 2u)) << i;
    EXPECT_TRUE(store.endBatch());
    store.rename("/c/f1", "/c/g1");
    store.forget("/c/f2");
    EXPECT_EQ(store.get("/c/g1").attributes, 2u);
    EXPECT_FALSE(store.get("/c/f1").attributes);
    // Another program sees the changes of the transactions already ended.
    EXPECT_GE(std::stoi(raw.text("SELECT count(*) FROM files")), 2000);
    EXPECT_TRUE(store.endBatch());
    EXPECT_EQ(raw.text("SELECT count(*) FROM files"), "2499");
    EXPECT_EQ(raw.text("SELECT count(*) FROM files WHERE path = CAST('/c/g1' AS BLOB)"), "1");
    // A store closed with a batch open keeps its changes.
    store.beginBatch();
    ASSERT_TRUE(store.setCreation("/c/f3", 7));
  }
  EXPECT_EQ(raw.text("SELECT creation FROM files WHERE path = CAST('/c/f3' AS BLOB)"), "7");
}

// Both parts set at once leave the record they leave outside a batch, whatever was there: a
// record with more, with less, the same one, or none; with both parts empty it goes.
TEST(FileMetaStoreTest, BothPartsSetInABatchEndAsOutsideIt) {
  TempDir temp;
  FileMetaStore alone(temp / "alone.db"), batched(temp / "batched.db");
  const std::vector<FileMeta> before = {
      {}, {5, 2u}, {5, std::nullopt}, {std::nullopt, 0u}, {7, 0u}};
  const std::vector<FileMeta> wanted = {{7, 0u}, {7, std::nullopt}, {std::nullopt, 6u}, {}};
  batched.beginBatch();
  int n = 0;
  for (const FileMeta& old : before) {
    for (const FileMeta& set : wanted) {
      const std::string path = "/c/f" + std::to_string(n++);
      for (FileMetaStore* store : {&alone, &batched}) {
        ASSERT_TRUE(store->setBoth(path, old.creation, old.attributes));
        ASSERT_TRUE(store->setBoth(path, set.creation, set.attributes));
      }
      EXPECT_EQ(batched.get(path), set) << path;
      EXPECT_EQ(alone.get(path), set) << path;
    }
  }
  EXPECT_TRUE(batched.endBatch());
  RawDb a(temp / "alone.db"), b(temp / "batched.db");
  const char* all =
      "SELECT group_concat(CAST(path AS TEXT) || ':' || ifnull(creation, '-') || ':' || "
      "ifnull(attributes, '-'), ' ') FROM (SELECT * FROM files ORDER BY path)";
  EXPECT_EQ(b.text(all), a.text(all));
  EXPECT_EQ(b.text("SELECT count(*) FROM files"),
            std::to_string(before.size() * (wanted.size() - 1)));

  // Setting what the record holds already writes nothing (another program sees no change of
  // the file); a different value does.
  const std::string version = b.text("PRAGMA data_version");
  batched.beginBatch();
  EXPECT_TRUE(batched.setBoth("/c/f0", 7, 0u));
  EXPECT_TRUE(batched.endBatch());
  EXPECT_EQ(b.text("PRAGMA data_version"), version);
  batched.beginBatch();
  EXPECT_TRUE(batched.setBoth("/c/f0", 7, 2u));
  EXPECT_TRUE(batched.endBatch());
  EXPECT_NE(b.text("PRAGMA data_version"), version);
}

// A new file's path loses the record a file removed before left there: at once alone; in a
// batch before any other use of the store sees it, before the batch's transaction ends, and
// then replaced by the record a copy sets.
TEST(FileMetaStoreTest, ANewFilesPathLosesTheRecordLeftThere) {
  TempDir temp;
  RawDb raw(temp / "meta.db");
  auto has = [&](const char* path) {
    std::string sql =
        "SELECT count(*) FROM files WHERE path = CAST('" + std::string(path) + "' AS BLOB)";
    return raw.text(sql.c_str()) == "1";
  };
  {
    FileMetaStore store(temp / "meta.db");
    for (const char* path : {"/c/a", "/c/b", "/c/c", "/c/d", "/c/e", "/c/f", "/c/g", "/c/h"})
      ASSERT_TRUE(store.setBoth(path, 5, 2u)) << path;
    store.forgetCreated("/c/a");
    EXPECT_FALSE(has("/c/a"));

    store.beginBatch();
    store.forgetCreated("/c/b");
    EXPECT_EQ(store.get("/c/b"), FileMeta{});
    store.forgetCreated("/c/c");
    ASSERT_TRUE(store.setBoth("/c/c", 7, 0u));
    EXPECT_EQ(store.get("/c/c"), (FileMeta{7, 0u}));
    store.forgetCreated("/c/d");
    ASSERT_TRUE(store.setBoth("/c/other", 7, 0u));
    EXPECT_EQ(store.get("/c/d"), FileMeta{});
    store.forgetCreated("/c/e");
    store.forgetCreated("/c/f");
    EXPECT_EQ(store.get("/c/e"), FileMeta{});
    EXPECT_EQ(store.get("/c/f"), FileMeta{});
    store.forgetCreated("/c/g");
    store.settleBatch();
    EXPECT_FALSE(has("/c/g"));
    store.forgetCreated("/c/h");
    EXPECT_TRUE(store.endBatch());
    EXPECT_FALSE(has("/c/h"));
    EXPECT_EQ(raw.text("SELECT count(*) FROM files"), "2");  // /c/c and /c/other

    // A store closed with the delete waiting still makes it.
    ASSERT_TRUE(store.setBoth("/c/i", 5, 2u));
    store.beginBatch();
    store.forgetCreated("/c/i");
  }
  EXPECT_FALSE(has("/c/i"));
}

TEST(FileMetaStoreTest, ASettledBatchLetsAnotherProgramWriteAtOnceAndGoesOn) {
  TempDir temp;
  FileMetaStore store(temp / "meta.db");
  RawDb other(temp / "meta.db");  // without a busy timeout: a held lock fails at once
  store.beginBatch();
  ASSERT_TRUE(store.setAttributes("/c/a", 2u));
  store.settleBatch();  // a question to the user is open now
  ASSERT_TRUE(other.exec("BEGIN IMMEDIATE"));
  EXPECT_EQ(other.text("SELECT count(*) FROM files"), "1");
  ASSERT_TRUE(other.exec("COMMIT"));
  ASSERT_TRUE(store.setAttributes("/c/b", 2u));
  EXPECT_TRUE(store.endBatch());
  EXPECT_EQ(other.text("SELECT count(*) FROM files"), "2");
}

TEST(FileMetaStoreTest, ADamagedStoreIsSetAsideWithItsJournal) {
  TempDir temp;
  writeFile(temp / "meta.db", std::string(3000, 'x'));
  writeFile(temp / "meta.db-wal", std::string(5000, 'w'));
  FileMetaStore store(temp / "meta.db");
  EXPECT_TRUE(fs::exists(temp / "meta.db.damaged"));
  EXPECT_TRUE(fs::exists(temp / "meta.db.damaged-wal"));
  ASSERT_TRUE(store.setAttributes("/c/f", 4u));
  EXPECT_EQ(store.get("/c/f").attributes, 4u);
}

TEST(FileMetaStoreTest, AStoreThatCannotBeMadeFailsEveryChange) {
  TempDir temp;
  FileMetaStore store(temp / "missing-folder" / "meta.db");
  EXPECT_FALSE(store.setAttributes("/c/f", 4u));
  EXPECT_FALSE(store.setCreation("/c/f", 1));
  EXPECT_EQ(store.get("/c/f"), FileMeta{});
  EXPECT_FALSE(fs::exists(temp / "missing-folder"));
}

}  // namespace
}  // namespace vandrel::platform::emulated
