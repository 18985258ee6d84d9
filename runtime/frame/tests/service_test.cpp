#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>

#include "file_search.h"
#include "runtime/entry_table.h"
#include "runtime/frame.h"

namespace runtime {
namespace {

std::intptr_t Service(std::int32_t op, std::intptr_t a1 = 0, std::intptr_t a2 = 0, std::intptr_t a3 = 0,
                      std::intptr_t a4 = 0) {
  return EntryTable().RuntimeService(op, a1, a2, a3, a4);
}

// A constant one-dimensional array of three ints, as a program's constant data holds it.
const std::int32_t kConstantArray[] = {1, 3, 10, 20, 30};

TEST(MakeArrayWritable, CopiesAConstantArrayWhole) {
  static bool registered = (RegisterConstantRange(kConstantArray, sizeof kConstantArray), true);
  (void)registered;
  void* array = const_cast<std::int32_t*>(kConstantArray);
  Service(service::MakeArrayWritable, 4, reinterpret_cast<std::intptr_t>(&array));
  ASSERT_NE(array, kConstantArray);
  EXPECT_EQ(std::memcmp(array, kConstantArray, sizeof kConstantArray), 0);
  SetArrayElementAt<std::int32_t>(array, 0, 99);  // writable now
  FreeBlock(array);
}

TEST(MakeArrayWritable, LeavesAHeapArrayAlone) {
  void* array = NewArray1(2, 4);
  void* before = array;
  Service(service::MakeArrayWritable, 4, reinterpret_cast<std::intptr_t>(&array));
  EXPECT_EQ(array, before);
  FreeBlock(array);
}

class FileSearch : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/panlift-search-XXXXXX";
    directory_ = mkdtemp(pattern);
    Touch("a.txt");
    Touch("B.TXT");
    Touch("c.log");
    Touch("\xE4\xB8\xAD.txt");  // 中.txt in the file system's UTF-8
    Touch(".hidden.txt");
    mkdir((directory_ + "/sub.txt").c_str(), 0700);
  }
  void TearDown() override { std::system(("rm -rf " + directory_).c_str()); }
  void Touch(const std::string& name) { std::ofstream(directory_ + "/" + name) << "x"; }

  std::set<std::string> FindAll(const std::string& pattern, std::uint32_t mask) {
    std::set<std::string> names;
    std::intptr_t handle = 0;
    Text name = FindFileEntry(pattern.c_str(), mask, true, &handle);
    while (name) {
      names.insert(name);
      FreeBlock(name);
      name = FindFileEntry(nullptr, mask, true, &handle);
    }
    EXPECT_EQ(handle, 0);  // closed at the end
    return names;
  }

  std::string directory_;
};

TEST_F(FileSearch, MatchesWildcardsWithoutRegardToCaseAndGivesGbkNames) {
  std::string windowsForm = directory_;
  for (char& c : windowsForm) {
    if (c == '/') c = '\\';
  }
  EXPECT_EQ(FindAll(windowsForm + "\\*.txt", 0), (std::set<std::string>{"a.txt", "B.TXT", "\xD6\xD0.txt"}));
  EXPECT_EQ(FindAll(directory_ + "/?.LOG", 0), (std::set<std::string>{"c.log"}));
}

TEST_F(FileSearch, DirectoriesAndHiddenEntriesNeedTheirAttributeBits) {
  EXPECT_EQ(FindAll(directory_ + "/*.txt", kAttributeDirectory | kAttributeHidden),
            (std::set<std::string>{"a.txt", "B.TXT", "\xD6\xD0.txt", ".hidden.txt", "sub.txt"}));
}

TEST_F(FileSearch, ANewPatternRestartsAndCloseReleasesTheSearch) {
  std::intptr_t handle = 0;
  Text first = FindFileEntry((directory_ + "/*.log").c_str(), 0, true, &handle);
  EXPECT_STREQ(first, "c.log");
  FreeBlock(first);
  Text again = FindFileEntry((directory_ + "/*.log").c_str(), 0, true, &handle);
  EXPECT_STREQ(again, "c.log");
  FreeBlock(again);
  Service(service::CloseFileSearch, handle);
  Service(service::CloseFileSearch, 0);  // a null handle is ignored
}

TEST(Wildcards, FollowWindowsRules) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {{"*.*", "noextension", true}, {"*", "", true},        {"a*c", "abbbc", true}, {"a*c", "abcd", false},
               {"?", "", false},             {"??", "ab", true},      {"*.TXT", "x.txt", true}, {"x", "X", true},
               {"a*b*c", "aXbYc", true},     {"a*b*c", "aXcYb", false}};
  for (const Case& c : cases) EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
}

std::intptr_t PropertyLibraryNotify(std::int32_t code, std::intptr_t p1, std::intptr_t) {
  if (code != library_notify::ReadObjectProperty && code != library_notify::WriteObjectProperty) return 0;
  auto* request = reinterpret_cast<ObjectPropertyRequest*>(p1);
  auto* object = static_cast<std::int32_t*>(request->object);
  if (code == library_notify::ReadObjectProperty) *request->value = IntArg(*object + request->property);
  else *object = ArgInt(*request->value);
  return 1;
}

TEST(ObjectProperties, GoToTheLibraryOfTheType) {
  static const LibraryInfo core{LibraryInfoFormat, "{core}", 1, "core", 0, nullptr, 0, nullptr, nullptr};
  static const LibraryInfo owner{LibraryInfoFormat, "{owner}", 1, "owner", 0, nullptr, 0, nullptr, PropertyLibraryNotify};
  static const LibraryInfo* const libraries[] = {&core, &owner};
  AttachLibraries(libraries, 2);

  std::int32_t object = 5;
  CommandArg value = IntArg(40);
  EXPECT_EQ(Service(service::WriteObjectProperty, LibraryType(2, 1), reinterpret_cast<std::intptr_t>(&object), 0,
                    reinterpret_cast<std::intptr_t>(&value)),
            1);
  EXPECT_EQ(object, 40);
  EXPECT_EQ(Service(service::ReadObjectProperty, LibraryType(2, 1), reinterpret_cast<std::intptr_t>(&object), 2,
                    reinterpret_cast<std::intptr_t>(&value)),
            1);
  EXPECT_EQ(ArgInt(value), 42);
  // A library without property routines, a library that does not exist, a basic type.
  EXPECT_EQ(Service(service::ReadObjectProperty, LibraryType(1, 1), reinterpret_cast<std::intptr_t>(&object)), 0);
  EXPECT_EQ(Service(service::ReadObjectProperty, LibraryType(9, 1), reinterpret_cast<std::intptr_t>(&object)), 0);
  EXPECT_EQ(Service(service::ReadObjectProperty, types::Int, reinterpret_cast<std::intptr_t>(&object)), 0);
  AttachLibraries(nullptr, 0);
}

std::intptr_t FakeStart(const void* block) { return reinterpret_cast<std::intptr_t>(block) + 1; }

TEST(StartRuntime, IsTheRoutineThatStartUpInstalls) {
  EXPECT_EQ(Service(service::StartRuntime, 100), 0);
  SetStartRuntimeRoutine(FakeStart);
  EXPECT_EQ(Service(service::StartRuntime, 100), 101);
  SetStartRuntimeRoutine(nullptr);
}

}  // namespace
}  // namespace runtime
