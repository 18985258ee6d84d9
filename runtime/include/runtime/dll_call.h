// Calling a declared DLL command from the program's code.
//
// The program declares each DLL command with its index in the DllCommandTable, the C++
// type of the function and the byte size of its arguments. A call resolves the index through
// the entry table (once; later calls use the cache), calls the function and then compares
// what the caller pushed with what the function removed, as the caller's saved stack pointer
// would show: a difference is runtime error 6.
#pragma once

#include <cstdint>
#include <type_traits>

#include "runtime/entry_table.h"

namespace runtime {

template <typename Signature>
struct DllCommand;

template <typename R, typename... A>
struct DllCommand<R(A...)> {
  std::int32_t index;
  std::int32_t argumentBytes;  // as declared by the program

  R operator()(A... args) const {
    const RuntimeEntryTable& entries = EntryTable();
    DllCall call = entries.CallDllCommand(index);
    auto function = reinterpret_cast<R (*)(A...)>(call.address);
    if constexpr (std::is_void_v<R>) {
      function(args...);
      CheckStack(entries, call);
    } else {
      R result = function(args...);
      CheckStack(entries, call);
      return result;
    }
  }

 private:
  void CheckStack(const RuntimeEntryTable& entries, const DllCall& call) const {
    // A function of a module that records no sizes follows the C convention: balanced.
    if (call.argumentBytes >= 0 && call.argumentBytes != argumentBytes) entries.ReportRuntimeError(6);
  }
};

}  // namespace runtime
