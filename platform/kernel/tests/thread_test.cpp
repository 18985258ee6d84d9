// Thread ids and the last-error code, which belong to each thread.
#include <gtest/gtest.h>

#include <thread>

#include "kernel/process.h"

namespace {

TEST(Threads, IdIsStableNonZeroAndDiffersBetweenThreads) {
  DWORD mine = GetCurrentThreadId();
  EXPECT_NE(mine, 0u);
  EXPECT_EQ(GetCurrentThreadId(), mine);
  DWORD other = 0, otherAgain = 0;
  std::thread([&] {
    other = GetCurrentThreadId();
    otherAgain = GetCurrentThreadId();
  }).join();
  EXPECT_NE(other, 0u);
  EXPECT_EQ(other, otherAgain);
  EXPECT_NE(other, mine);
}

TEST(Threads, LastErrorBelongsToEachThread) {
  SetLastError(1234);
  DWORD seenAtStart = 99, seenAfterSet = 0;
  std::thread([&] {
    seenAtStart = GetLastError();
    SetLastError(5678);
    seenAfterSet = GetLastError();
  }).join();
  EXPECT_EQ(seenAtStart, 0u);
  EXPECT_EQ(seenAfterSet, 5678u);
  EXPECT_EQ(GetLastError(), 1234u);
}

}  // namespace
