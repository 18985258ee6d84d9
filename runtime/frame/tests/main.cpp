// The frame's tests run with the application object up, as the program does: the service
// window and the waiting-messages pump need it. Death tests re-run the binary for each case.
#include <gtest/gtest.h>

#include "ui/application.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ui::EnsureApplication();
  return RUN_ALL_TESTS();
}
