// The clipboard and the message pump need the application object before any test runs.
#include <gtest/gtest.h>

#include "ui/application.h"

int main(int argc, char** argv) {
  ui::EnsureApplication();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
