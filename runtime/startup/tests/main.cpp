// Start-up's tests: each start of the runtime or the whole program runs in a child
// process (death-test style), so that every case begins with a fresh runtime.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  return RUN_ALL_TESTS();
}
