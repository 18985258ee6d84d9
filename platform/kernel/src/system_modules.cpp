// The system modules that a declared DLL command without a library name searches, in order.
// Kernel32 exports the kernel's own functions, each with the bytes of arguments it removes
// on 32-bit Windows; the others start empty and platform libraries may add to them.
#include "kernel/process.h"
#include "module_registry.h"

namespace kernel {
namespace {

template <typename F>
FARPROC Address(F* function) {
  return reinterpret_cast<FARPROC>(function);
}

const BuiltinExport kKernel32[] = {
    {"GetCurrentThreadId", 0, 0, Address(&GetCurrentThreadId)},
    {"GetLastError", 0, 0, Address(&GetLastError)},
    {"SetLastError", 0, 4, Address(&SetLastError)},
    {"LoadLibraryA", 0, 4, Address(&LoadLibraryA)},
    {"GetProcAddress", 0, 8, Address(&GetProcAddress)},
    {"FreeLibrary", 0, 4, Address(&FreeLibrary)},
    {"GetModuleFileNameA", 0, 12, Address(&GetModuleFileNameA)},
    {"SetCurrentDirectoryA", 0, 4, Address(&SetCurrentDirectoryA)},
    {"GetCurrentDirectoryA", 0, 8, Address(&GetCurrentDirectoryA)},
    {"GetProcessHeap", 0, 0, Address(&GetProcessHeap)},
    {"HeapAlloc", 0, 12, Address(&HeapAlloc)},
    {"HeapReAlloc", 0, 16, Address(&HeapReAlloc)},
    {"HeapFree", 0, 12, Address(&HeapFree)},
    {"HeapSize", 0, 12, Address(&HeapSize)},
    {"GlobalAlloc", 0, 8, Address(&GlobalAlloc)},
    {"GlobalLock", 0, 4, Address(&GlobalLock)},
    {"GlobalUnlock", 0, 4, Address(&GlobalUnlock)},
    {"GlobalSize", 0, 4, Address(&GlobalSize)},
    {"GlobalFree", 0, 4, Address(&GlobalFree)},
};

const SystemModule kSystemModules[] = {
    {"Kernel32.dll", kKernel32}, {"Gdi32.dll", {}}, {"User32.dll", {}},
    {"Advapi32.dll", {}},        {"Mpr.dll", {}},   {"Shell32.dll", {}},
};

}  // namespace

std::span<const SystemModule> SystemModules() { return kSystemModules; }

}  // namespace kernel
