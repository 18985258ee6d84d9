#include <gtest/gtest.h>

#include <string>

#include "runtime/frame.h"

namespace runtime {
namespace {

std::string calls;
int windowA = 0, windowB = 0;
bool windowBExists = true;

void Record(void* parameter) { calls += static_cast<const char*>(parameter); }
bool Exists(void* window) { return window != &windowB || windowBExists; }

TEST(IdleCallbacks, RunFromTheLastToTheFirstAndDropThoseOfGoneWindows) {
  DropIdleCallbacks();
  calls.clear();
  AddIdleCallback(&windowA, Record, const_cast<char*>("1"));
  AddIdleCallback(&windowB, Record, const_cast<char*>("2"));
  AddIdleCallback(&windowA, Record, const_cast<char*>("3"));
  RunIdleCallbacks(Exists);
  EXPECT_EQ(calls, "321");

  windowBExists = false;
  RunIdleCallbacks(Exists);
  windowBExists = true;
  RunIdleCallbacks(Exists);  // the entry of window B is gone for good
  EXPECT_EQ(calls, "3213131");
  DropIdleCallbacks();
  RunIdleCallbacks(Exists);
  EXPECT_EQ(calls, "3213131");
}

}  // namespace
}  // namespace runtime
