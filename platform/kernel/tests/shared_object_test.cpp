// Real shared objects: found without regard to case as Windows finds a DLL, counted, unloaded.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "kernel/modules.h"
#include "kernel/process.h"
#include "temp_dir.h"
#include "win/errors.h"

namespace {

const std::string kModulePath = TEST_MODULE_PATH;  // ".../Modules/TestMod.DLL"
const std::string kModuleDir = kModulePath.substr(0, kModulePath.rfind('/'));

int CallAnswer(HMODULE module) {
  auto answer = reinterpret_cast<int (*)()>(GetProcAddress(module, "TestModuleAnswer"));
  return answer ? answer() : -1;
}

std::string Backslashed(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string UpperLast(std::string path) {  // ".../Modules" -> ".../MODULES"
  for (std::size_t i = path.rfind('/'); i < path.size(); ++i) {
    path[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(path[i])));
  }
  return path;
}

bool StillMapped(const std::string& path) {
  void* probe = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (probe) dlclose(probe);
  return probe != nullptr;
}

TEST(SharedObjects, FoundWithoutRegardToCase) {
  const std::string spellings[] = {
      kModulePath,
      kModuleDir + "/testmod.dll",
      kModuleDir + "/TESTMOD.DLL",
      kModuleDir + "/testmod",  // no extension: ".dll" is added
      Backslashed(kModuleDir) + "\\TestMod.dll",
      kModuleDir + "\\tEsTmOd.Dll",
      UpperLast(kModuleDir) + "/testmod.dll",  // the directory too
  };
  for (const std::string& name : spellings) {
    SCOPED_TRACE(name);
    HMODULE module = LoadLibraryA(name.c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(CallAnswer(module), 42);
    EXPECT_TRUE(FreeLibrary(module));
  }
}

TEST(SharedObjects, NotFoundUnderOtherNames) {
  for (const std::string& name : {kModuleDir + "/TestMod.dl", kModuleDir + "/TestMod.DLL.x", kModuleDir + "/",
                                  kModuleDir + "/Nope/TestMod.DLL"}) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LoadLibraryA(name.c_str()), nullptr) << name;
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND) << name;
  }
}

TEST(SharedObjects, OneHandlePerFileCountedAndUnloadedAtTheLastFree) {
  HMODULE first = LoadLibraryA(kModulePath.c_str());
  HMODULE second = LoadLibraryA((kModuleDir + "\\TESTMOD").c_str());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_EQ(CallAnswer(first), 42);  // one load still holds it
  EXPECT_TRUE(StillMapped(kModulePath));
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_FALSE(StillMapped(kModulePath));
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(GetProcAddress(first, "TestModuleAnswer"), nullptr);  // a stale handle is refused
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  EXPECT_FALSE(FreeLibrary(first));

  HMODULE again = LoadLibraryA(kModulePath.c_str());
  EXPECT_NE(again, first);  // a new load is a new handle
  EXPECT_EQ(CallAnswer(again), 42);
  FreeLibrary(again);
}

TEST(SharedObjects, ExportsByNameOnlyAndNoArgumentSizes) {
  HMODULE module = LoadLibraryA(kModulePath.c_str());
  ASSERT_NE(module, nullptr);
  FARPROC answer = GetProcAddress(module, "TestModuleAnswer");
  EXPECT_EQ(GetExportArgumentBytes(module, answer), -1);
  for (LPCSTR key : {static_cast<LPCSTR>("NoSuchFunction"), MAKEINTRESOURCEA(1)}) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetProcAddress(module, key), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  }
  FreeLibrary(module);
}

TEST(SharedObjects, ModuleFileNameIsTheFilesPathInWindowsForm) {
  HMODULE module = LoadLibraryA((kModuleDir + "/testmod.dll").c_str());
  ASSERT_NE(module, nullptr);
  char buffer[4096];
  DWORD length = GetModuleFileNameA(module, buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer, length), Backslashed(std::filesystem::canonical(kModulePath).string()));
  FreeLibrary(module);
}

TEST(SharedObjects, BareNameBesideTheProgram) {
  CurrentDirectoryGuard restore;
  ASSERT_TRUE(SetCurrentDirectoryA("\\"));  // so that only the program's directory can hold it
  HMODULE module = LoadLibraryA("besideexe");  // the file is "BesideExe.Dll"
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(CallAnswer(module), 42);
  FreeLibrary(module);
}

TEST(SharedObjects, BareNameInTheCurrentDirectory) {
  CurrentDirectoryGuard restore;
  ASSERT_TRUE(SetCurrentDirectoryA(Backslashed(kModuleDir).c_str()));
  HMODULE module = LoadLibraryA("TESTMOD.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(CallAnswer(module), 42);
  FreeLibrary(module);
}

TEST(SharedObjects, BareNameBySystemSearch) {
  HMODULE module = LoadLibraryA("libm.so.6");
  ASSERT_NE(module, nullptr);
  auto cosine = reinterpret_cast<double (*)(double)>(GetProcAddress(module, "cos"));
  ASSERT_NE(cosine, nullptr);
  EXPECT_EQ(cosine(0.0), 1.0);
  char buffer[4096];
  DWORD length = GetModuleFileNameA(module, buffer, sizeof buffer);
  EXPECT_NE(std::string(buffer, length).find("libm"), std::string::npos);
  EXPECT_EQ(std::string(buffer, length).find('/'), std::string::npos);
  FreeLibrary(module);
}

TEST(SharedObjects, ExtensionRules) {
  TempDir dir;
  ASSERT_FALSE(dir.path().empty());
  std::filesystem::copy_file(kModulePath, dir.path() + "/Plugin.DLL");
  dir.Write("plugin", "not a shared object");
  // "plugin" means "plugin.dll" first, as on Windows; "plugin." means the file without extension.
  HMODULE module = LoadLibraryA((dir.path() + "/PLUGIN").c_str());
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(CallAnswer(module), 42);
  FreeLibrary(module);
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(LoadLibraryA((dir.path() + "/plugin.").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

TEST(SharedObjects, AFileThatIsNoSharedObjectFails) {
  TempDir dir;
  ASSERT_FALSE(dir.path().empty());
  dir.Write("Broken.dll", "MZ but not really");
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(LoadLibraryA((dir.path() + "\\broken.DLL").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

}  // namespace
