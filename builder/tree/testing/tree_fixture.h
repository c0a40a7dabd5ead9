// A document with its entry tree, the builder's preferences and the tree commands over them,
// as the tree's tests set them up; each test brings its own entry dialogs (the editor).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "builder/codec/document_text.h"
#include "builder/tree/tree_commands.h"
#include "tests/support/fake_interaction.h"

namespace vandrel::builder::testing {

// One of each kind the tree shows under its own category: a directory, a group, a file
// installed into the directory and a shortcut in the group.
inline constexpr const char* kOneOfEachScript =
    "[Directories]\n0=App,0,0,d\n[Groups]\n0=G\n"
    "[Files]\n0=a.exe,a.exe,1,1,0,0,0,0,-1,0,0,Z:\\src,0\n[Shortcuts]\n0=Run,,0,0\n";

struct TreeFixture : ::testing::Test {
  CScriptDoc doc{[] { return std::uint64_t(1); }};
  std::unique_ptr<ScriptTree> tree;
  BuilderPreferences prefs;
  test::FakeInteraction ui;
  std::unique_ptr<TreeCommands> commands;

  // Reads the document from its text form and builds the tree and the commands over it.
  void load(const char* text, EntryEditor& editor) {
    loadDocumentText(doc, text);
    tree = std::make_unique<ScriptTree>(doc);
    commands = std::make_unique<TreeCommands>(*tree, prefs, ui, editor);
  }
  // The labels of a category's items, in the tree's order.
  std::vector<std::string> labels(int category) const {
    std::vector<std::string> out;
    for (ItemHandle h : tree->children(tree->categoryItem(category))) out.push_back(tree->item(h)->label);
    return out;
  }
};

}  // namespace vandrel::builder::testing
