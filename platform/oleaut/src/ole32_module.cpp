// "ole32.dll" as a built-in module, so that the program's DLL commands reach these calls.
#include <array>

#include "kernel/modules.h"
#include "oleaut/ole32.h"

namespace {

template <class F>
FARPROC Address(F* function) {
  return reinterpret_cast<FARPROC>(function);
}

}  // namespace

void RegisterOle32Module() {
  // Argument bytes as the 32-bit stdcall exports remove them.
  const std::array<BuiltinExport, 12> exports{{
      {"CoInitialize", 0, 4, Address(&CoInitialize)},
      {"CoInitializeEx", 0, 8, Address(&CoInitializeEx)},
      {"CoUninitialize", 0, 0, Address(&CoUninitialize)},
      {"OleInitialize", 0, 4, Address(&OleInitialize)},
      {"OleUninitialize", 0, 0, Address(&OleUninitialize)},
      {"CoCreateInstance", 0, 20, Address(&CoCreateInstance)},
      {"CLSIDFromProgID", 0, 8, Address(&CLSIDFromProgID)},
      {"CLSIDFromString", 0, 8, Address(&CLSIDFromString)},
      {"StringFromGUID2", 0, 12, Address(&StringFromGUID2)},
      {"OleRun", 0, 4, Address(&OleRun)},
      {"CoTaskMemAlloc", 0, 4, Address(&CoTaskMemAlloc)},
      {"CoTaskMemFree", 0, 4, Address(&CoTaskMemFree)},
  }};
  RegisterBuiltinModule("ole32.dll", exports);
}
