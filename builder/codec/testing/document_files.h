// Test fixture of the .cvx files: a scratch folder, the test interaction port, a clock the
// test sets, and saving a document into the folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "builder/codec/document_io.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/temp_dir.h"

namespace vandrel::builder::testing {

struct DocumentFiles : ::testing::Test {
  test::TempDir dir;
  test::FakeInteraction ui;
  std::uint64_t now = 100;
  Clock clock = [this] { return now; };

  std::string saved(CScriptDoc& doc, const std::string& name) {
    std::filesystem::path path = dir / name;
    EXPECT_TRUE(saveDocument(doc, path, ui));
    return path.string();
  }
};

}  // namespace vandrel::builder::testing
