// The forms' tests run with the application object up and the window layer installed, as
// a started program has them.
#include <gtest/gtest.h>

#include "runtime/windows/window_layer.h"
#include "ui/application.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  ui::EnsureApplication();
  runtime::InstallWindowLayer();
  return RUN_ALL_TESTS();
}
