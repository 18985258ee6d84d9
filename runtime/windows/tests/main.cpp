// The window layer's tests run with the application object up and the window layer
// installed, as a started program has them. Death tests re-run the binary for each case.
#include <gtest/gtest.h>

#include "runtime/windows/window_layer.h"
#include "ui/application.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ui::EnsureApplication();
  runtime::InstallWindowLayer();
  return RUN_ALL_TESTS();
}
