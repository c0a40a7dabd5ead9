// The test interaction of the setup's whole-run cases: every page takes Next or Finish, and
// the destination page's backup box is ticked or not as the case asks.
#pragma once

#include "tests/support/fake_interaction.h"

namespace vandrel::setup::testing {

class BackupInteraction : public test::FakeInteraction {
 public:
  bool backup = false;
  ui::PageResult page(const ui::Page& page) override {
    ui::PageResult result = FakeInteraction::page(page);
    for (ui::Field& field : result.fields) {
      if (field.name == "Backup") field.checked = backup;
    }
    return result;
  }
};

}  // namespace vandrel::setup::testing
