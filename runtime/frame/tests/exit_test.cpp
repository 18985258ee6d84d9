#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

#include "runtime/entry_table.h"
#include "runtime/frame.h"
#include "ui/application.h"

namespace runtime {
namespace {

using testing::HasSubstr;
using testing::MatchesRegex;

int exitHookRuns = 0;
void CountingExitHook() {
  ++exitHookRuns;
  std::fprintf(stderr, "exit hook run %d\n", exitHookRuns);
}

std::intptr_t FirstLibraryNotify(std::int32_t code, std::intptr_t p1, std::intptr_t) {
  std::fprintf(stderr, "first library: code %d data %ld\n", code, static_cast<long>(p1));
  return 0;
}
std::intptr_t SecondLibraryNotify(std::int32_t code, std::intptr_t p1, std::intptr_t) {
  std::fprintf(stderr, "second library: code %d data %ld\n", code, static_cast<long>(p1));
  return 0;
}

const LibraryInfo kFirstLibrary{LibraryInfoFormat, "{first}", 1, "first", 0, nullptr, 0, nullptr, FirstLibraryNotify};
const LibraryInfo kSilentLibrary{LibraryInfoFormat, "{silent}", 1, "silent", 0, nullptr, 0, nullptr, nullptr};
const LibraryInfo kSecondLibrary{LibraryInfoFormat, "{second}", 1, "second", 0, nullptr, 0, nullptr, SecondLibraryNotify};
const LibraryInfo* const kLibraries[] = {&kFirstLibrary, &kSilentLibrary, &kSecondLibrary};

void AttachTestLibraries() {
  AttachLibraries(kLibraries, 3);
  *LibraryDataWord(0) = 11;
  *LibraryDataWord(2) = 33;
}

TEST(OrderlyExitDeathTest, RunsTheExitHookOnceAndNotifiesEachLibrary) {
  EXPECT_EXIT(
      {
        AttachTestLibraries();
        EntryTable().RuntimeService(service::SetExitHook, reinterpret_cast<std::intptr_t>(CountingExitHook), 0, 0, 0);
        EntryTable().ExitProgram(7);
      },
      testing::ExitedWithCode(7),
      MatchesRegex(".*exit hook run 1\nfirst library: code 6 data 11\nsecond library: code 6 data 33\n"));
}

void ExitingExitHook() {
  CountingExitHook();
  ExitProgram(9);  // an exit inside the exit ends the process at once
}

TEST(OrderlyExitDeathTest, AnExitInsideTheExitHookDoesNotRunItAgain) {
  EXPECT_EXIT(
      {
        SetExitHook(ExitingExitHook);
        ExitProgram(3);
      },
      testing::ExitedWithCode(9), testing::AllOf(HasSubstr("exit hook run 1"), testing::Not(HasSubstr("run 2"))));
}

TEST(OrderlyExitDeathTest, LibrariesHearOfTheStartFirst) {
  EXPECT_EXIT(
      {
        AttachTestLibraries();
        ExitProgram(0);
      },
      testing::ExitedWithCode(0),
      MatchesRegex(".*first library: code 1 data [0-9-]+\nsecond library: code 1 data [0-9-]+\n"
                   "first library: code 6 data 11\nsecond library: code 6 data 33\n"));
}

TEST(OrderlyExitDeathTest, AnExitRequestedOnAnotherThreadIsCarriedOutByTheMainThread) {
  EXPECT_EXIT(
      {
        RecordMainThread();
        CreateServiceWindow();
        SetExitHook(CountingExitHook);
        std::thread other([] { ExitProgram(5); });
        other.detach();
        for (;;) ui::WaitAndHandleEvents();  // the main thread pumps until the request arrives
      },
      testing::ExitedWithCode(5), HasSubstr("exit hook run 1\n"));
}

TEST(OrderlyExitDeathTest, WithoutAServiceWindowAnotherThreadEndsTheProcessAtOnce) {
  EXPECT_EXIT(
      {
        RecordMainThread();
        SetExitHook(CountingExitHook);
        std::thread other([] { ExitProgram(6); });
        other.join();
      },
      testing::ExitedWithCode(6), testing::Not(HasSubstr("exit hook")));
}

}  // namespace
}  // namespace runtime
