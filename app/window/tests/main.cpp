// The program's end-to-end tests: the real program on the offscreen platform, started in
// this process once (program_window.h), or whole in a child process (death-test style).
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  return RUN_ALL_TESTS();
}
