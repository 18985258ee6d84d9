// The library's constant LibraryInfo and its LibraryNotify entry.
#include "inet/internet_library.h"
#include "internet_client.h"

namespace inet {
namespace {

constexpr runtime::Command Commands[CommandCount] = {&HttpReadFile};

constexpr runtime::LibraryInfo Info = {
    runtime::LibraryInfoFormat,
    "{A4D2E7C1-5B3F-4C8A-9E16-7F0B2D94C3E5}",
    1,
    "Internet library",
    0,
    nullptr,
    CommandCount,
    Commands,
    LibraryNotify,
};

}  // namespace

const runtime::LibraryInfo& InternetLibraryInfo() { return Info; }

std::intptr_t LibraryNotify(std::int32_t code, std::intptr_t p1, std::intptr_t) {
  if (code == runtime::library_notify::Start) {
    CreateClient(reinterpret_cast<runtime::RuntimeNotifyFunction>(p1));
  } else if (code == runtime::library_notify::Shutdown) {
    DestroyClient();
  }
  return 0;  // no data types, so no property requests to answer
}

}  // namespace inet
