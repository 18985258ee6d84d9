// The ui tests run with the application object up, as the runtime runs them.
#include <gtest/gtest.h>

#include "ui/application.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ui::EnsureApplication();
  return RUN_ALL_TESTS();
}
