// What the builder's widget tests share: one application on the offscreen platform, the
// same one the dialog tests use, with their helpers that act on the windows shown.
#pragma once

#include "builder/qt/dialogs_test_support.h"

namespace vandrel::builder::app::testing {

using qt::testing::application;

}  // namespace vandrel::builder::app::testing
