// Built-in modules: lookup by name and ordinal, argument sizes, load counts, the system modules.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "kernel/modules.h"
#include "kernel/process.h"
#include "win/errors.h"

namespace {

int First() { return 1; }
int Second() { return 2; }
int Third() { return 3; }

void RegisterProbe(const char* name) {
  const BuiltinExport exports[] = {
      {"First", 12, 4, ExportAddress(&First)},
      {"Second", 0, 8, ExportAddress(&Second)},
      {nullptr, 40, 0, ExportAddress(&Third)},  // by ordinal only
  };
  RegisterBuiltinModule(name, exports);
}

TEST(BuiltinModules, NamesCompareWithoutCaseWithOrWithoutDll) {
  RegisterProbe("ProbeCase.dll");
  HMODULE expected = LoadLibraryA("ProbeCase.dll");
  ASSERT_NE(expected, nullptr);
  for (const char* name : {"probecase.dll", "PROBECASE.DLL", "ProbeCase", "pRoBeCaSe.DlL", "probecase"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(LoadLibraryA(name), expected);
    EXPECT_TRUE(FreeLibrary(expected));
  }
  EXPECT_TRUE(FreeLibrary(expected));
}

TEST(BuiltinModules, RegisteredWithoutDllFoundWithIt) {
  RegisterProbe("ProbeBare");
  HMODULE module = LoadLibraryA("probebare.DLL");
  ASSERT_NE(module, nullptr);
  EXPECT_NE(GetProcAddress(module, "First"), nullptr);
  FreeLibrary(module);
}

TEST(BuiltinModules, ExportsByNameCaseSensitiveAndByOrdinal) {
  RegisterProbe("ProbeExports.dll");
  HMODULE module = LoadLibraryA("ProbeExports.dll");
  ASSERT_NE(module, nullptr);
  struct Case {
    LPCSTR key;
    FARPROC expected;
  } cases[] = {
      {"First", ExportAddress(&First)},
      {"Second", ExportAddress(&Second)},
      {"first", nullptr},  // export names keep their case
      {"Missing", nullptr},
      {MAKEINTRESOURCEA(12), ExportAddress(&First)},
      {MAKEINTRESOURCEA(40), ExportAddress(&Third)},
      {MAKEINTRESOURCEA(0), nullptr},  // "by name only" is no ordinal
      {MAKEINTRESOURCEA(13), nullptr},
  };
  for (const Case& c : cases) {
    SetLastError(ERROR_SUCCESS);
    FARPROC found = GetProcAddress(module, c.key);
    EXPECT_EQ(found, c.expected) << "case " << (&c - cases);
    EXPECT_EQ(GetLastError(), c.expected ? ERROR_SUCCESS : ERROR_PROC_NOT_FOUND) << "case " << (&c - cases);
  }
  EXPECT_EQ(reinterpret_cast<int (*)()>(GetProcAddress(module, MAKEINTRESOURCEA(12)))(), 1);
  FreeLibrary(module);
}

TEST(BuiltinModules, ArgumentBytesOfEachExport) {
  RegisterProbe("ProbeBytes.dll");
  HMODULE module = LoadLibraryA("ProbeBytes.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(GetExportArgumentBytes(module, ExportAddress(&First)), 4);
  EXPECT_EQ(GetExportArgumentBytes(module, ExportAddress(&Second)), 8);
  EXPECT_EQ(GetExportArgumentBytes(module, ExportAddress(&Third)), 0);
  EXPECT_EQ(GetExportArgumentBytes(module, ExportAddress(&GetLastError)), -1);  // not one of its exports
  EXPECT_EQ(GetExportArgumentBytes(nullptr, ExportAddress(&First)), -1);
  FreeLibrary(module);
}

TEST(BuiltinModules, RegisteringAgainReplacesByNameAndAdds) {
  RegisterProbe("ProbeReplace.dll");
  HMODULE module = LoadLibraryA("ProbeReplace.dll");
  ASSERT_NE(module, nullptr);
  const BuiltinExport more[] = {
      {"First", 12, 16, ExportAddress(&Second)},
      {"Added", 0, 0, ExportAddress(&Third)},
  };
  RegisterBuiltinModule("PROBEREPLACE", more);
  EXPECT_EQ(GetProcAddress(module, "First"), ExportAddress(&Second));
  EXPECT_EQ(GetExportArgumentBytes(module, ExportAddress(&Second)), 16);
  EXPECT_EQ(GetProcAddress(module, "Added"), ExportAddress(&Third));
  EXPECT_EQ(GetProcAddress(module, "Second"), ExportAddress(&Second));  // untouched
  FreeLibrary(module);
}

TEST(BuiltinModules, EachLoadNeedsItsFree) {
  RegisterProbe("ProbeCount.dll");
  HMODULE first = LoadLibraryA("ProbeCount.dll");
  HMODULE second = LoadLibraryA("probecount");
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(first, second);
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_TRUE(FreeLibrary(first));
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(FreeLibrary(first));  // one free too many
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  // The module itself stays: its handle still answers, and loading it again counts afresh.
  EXPECT_EQ(GetProcAddress(first, "First"), ExportAddress(&First));
  EXPECT_EQ(LoadLibraryA("ProbeCount.dll"), first);
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_FALSE(FreeLibrary(first));
}

TEST(BuiltinModules, MissingModuleAndBadHandles) {
  struct Case {
    LPCSTR name;
    DWORD error;
  } cases[] = {
      {"NoSuchModule.dll", ERROR_MOD_NOT_FOUND},
      {"NoSuchModule", ERROR_MOD_NOT_FOUND},
      {"", ERROR_MOD_NOT_FOUND},
      {"\\no\\such\\dir\\Kernel32.dll", ERROR_MOD_NOT_FOUND},  // a path never means a built-in
      {nullptr, ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LoadLibraryA(c.name), nullptr) << (c.name ? c.name : "null");
    EXPECT_EQ(GetLastError(), c.error) << (c.name ? c.name : "null");
  }
  HMODULE bogus = reinterpret_cast<HMODULE>(0x1234);
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(GetProcAddress(bogus, "First"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  EXPECT_FALSE(FreeLibrary(bogus));
  EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(SystemModules, TheSixExistAndKernel32ExportsTheKernel) {
  for (const char* name : {"Kernel32.dll", "Gdi32.dll", "User32.dll", "Advapi32.dll", "Mpr.dll", "Shell32.dll"}) {
    HMODULE module = LoadLibraryA(name);
    EXPECT_NE(module, nullptr) << name;
    FreeLibrary(module);
  }
  HMODULE kernel32 = LoadLibraryA("KERNEL32");
  ASSERT_NE(kernel32, nullptr);
  struct Case {
    const char* name;
    FARPROC address;
    int bytes;
  } cases[] = {
      {"GetCurrentThreadId", ExportAddress(&GetCurrentThreadId), 0},
      {"LoadLibraryA", ExportAddress(&LoadLibraryA), 4},
      {"GetProcAddress", ExportAddress(&GetProcAddress), 8},
      {"FreeLibrary", ExportAddress(&FreeLibrary), 4},
      {"GetModuleFileNameA", ExportAddress(&GetModuleFileNameA), 12},
      {"GetLastError", ExportAddress(&GetLastError), 0},
      {"SetLastError", ExportAddress(&SetLastError), 4},
      {"HeapAlloc", ExportAddress(&HeapAlloc), 12},
      {"GlobalAlloc", ExportAddress(&GlobalAlloc), 8},
  };
  for (const Case& c : cases) {
    FARPROC found = GetProcAddress(kernel32, c.name);
    EXPECT_EQ(found, c.address) << c.name;
    EXPECT_EQ(GetExportArgumentBytes(kernel32, found), c.bytes) << c.name;
  }
  HMODULE gdi32 = LoadLibraryA("gdi32");
  EXPECT_EQ(GetProcAddress(gdi32, "GetLastError"), nullptr);  // each module has its own exports
  FreeLibrary(gdi32);
  FreeLibrary(kernel32);
}

TEST(BuiltinModules, ConcurrentLoadsRegistrationsAndFreesKeepTheCount) {
  RegisterProbe("ProbeThreads.dll");
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&failures] {
      for (int i = 0; i < 500; ++i) {
        HMODULE module = LoadLibraryA("probethreads");
        if (!module || GetProcAddress(module, "First") != ExportAddress(&First) || !FreeLibrary(module)) ++failures;
      }
    });
  }
  threads.emplace_back([] {
    for (int i = 0; i < 500; ++i) {
      std::string name = "Extra" + std::to_string(i);
      const BuiltinExport extra[] = {{name.c_str(), 0, 0, ExportAddress(&Third)}};
      RegisterBuiltinModule("ProbeThreads.dll", extra);
    }
  });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  HMODULE module = LoadLibraryA("ProbeThreads.dll");
  EXPECT_EQ(GetProcAddress(module, "Extra499"), ExportAddress(&Third));
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_FALSE(FreeLibrary(module));  // every load was matched by its free
}

}  // namespace
