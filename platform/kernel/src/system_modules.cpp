// The system modules that a declared DLL command without a library name searches, in order.
// Kernel32 exports the kernel's own functions, each with the bytes of arguments it removes
// on 32-bit Windows; the others start empty and platform libraries may add to them.
#include "kernel/process.h"
#include "module_registry.h"

namespace kernel {
namespace {

const BuiltinExport kKernel32[] = {
    {"GetCurrentThreadId", 0, 0, ExportAddress(&GetCurrentThreadId)},
    {"GetLastError", 0, 0, ExportAddress(&GetLastError)},
    {"SetLastError", 0, 4, ExportAddress(&SetLastError)},
    {"LoadLibraryA", 0, 4, ExportAddress(&LoadLibraryA)},
    {"GetProcAddress", 0, 8, ExportAddress(&GetProcAddress)},
    {"FreeLibrary", 0, 4, ExportAddress(&FreeLibrary)},
    {"GetModuleFileNameA", 0, 12, ExportAddress(&GetModuleFileNameA)},
    {"SetCurrentDirectoryA", 0, 4, ExportAddress(&SetCurrentDirectoryA)},
    {"GetCurrentDirectoryA", 0, 8, ExportAddress(&GetCurrentDirectoryA)},
    {"GetProcessHeap", 0, 0, ExportAddress(&GetProcessHeap)},
    {"HeapAlloc", 0, 12, ExportAddress(&HeapAlloc)},
    {"HeapReAlloc", 0, 16, ExportAddress(&HeapReAlloc)},
    {"HeapFree", 0, 12, ExportAddress(&HeapFree)},
    {"HeapSize", 0, 12, ExportAddress(&HeapSize)},
    {"GlobalAlloc", 0, 8, ExportAddress(&GlobalAlloc)},
    {"GlobalLock", 0, 4, ExportAddress(&GlobalLock)},
    {"GlobalUnlock", 0, 4, ExportAddress(&GlobalUnlock)},
    {"GlobalSize", 0, 4, ExportAddress(&GlobalSize)},
    {"GlobalFree", 0, 4, ExportAddress(&GlobalFree)},
};

const SystemModule kSystemModules[] = {
    {"Kernel32.dll", kKernel32}, {"Gdi32.dll", {}}, {"User32.dll", {}},
    {"Advapi32.dll", {}},        {"Mpr.dll", {}},   {"Shell32.dll", {}},
};

}  // namespace

std::span<const SystemModule> SystemModules() { return kSystemModules; }

}  // namespace kernel
