// "ole32.dll" as a built-in module, so that the program's DLL commands reach these calls.
#include <array>

#include "kernel/modules.h"
#include "oleaut/ole32.h"

void RegisterOle32Module() {
  // Argument bytes as the 32-bit stdcall exports remove them.
  const std::array<BuiltinExport, 12> exports{{
      {"CoInitialize", 0, 4, ExportAddress(&CoInitialize)},
      {"CoInitializeEx", 0, 8, ExportAddress(&CoInitializeEx)},
      {"CoUninitialize", 0, 0, ExportAddress(&CoUninitialize)},
      {"OleInitialize", 0, 4, ExportAddress(&OleInitialize)},
      {"OleUninitialize", 0, 0, ExportAddress(&OleUninitialize)},
      {"CoCreateInstance", 0, 20, ExportAddress(&CoCreateInstance)},
      {"CLSIDFromProgID", 0, 8, ExportAddress(&CLSIDFromProgID)},
      {"CLSIDFromString", 0, 8, ExportAddress(&CLSIDFromString)},
      {"StringFromGUID2", 0, 12, ExportAddress(&StringFromGUID2)},
      {"OleRun", 0, 4, ExportAddress(&OleRun)},
      {"CoTaskMemAlloc", 0, 4, ExportAddress(&CoTaskMemAlloc)},
      {"CoTaskMemFree", 0, 4, ExportAddress(&CoTaskMemFree)},
  }};
  RegisterBuiltinModule("ole32.dll", exports);
}
