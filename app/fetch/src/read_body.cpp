#include "app/base/runtime_calls.h"
#include "inet/internet_library.h"
#include "request_steps.h"
#include "runtime/core/core_library.h"

namespace app {

static_assert(kMaxBodyBytes == inet::MaxBodyBytes, "a page read stops where the Internet library stops");

void* ReadBody(HINTERNET request) {
  namespace cmd = runtime::core::command;
  constexpr std::int32_t kChunk = 2048;
  const runtime::CommandArg file = runtime::IntArg(ResultInt(CallCore(cmd::OpenMemoryFile, {})));
  void* buffer = ResultBlock(CallCore(cmd::BlankByteSet, {runtime::IntArg(kChunk)}));
  std::int32_t total = 0;
  DWORD n = 0;
  do {
    CallCore(cmd::ProcessEvents, {});
    const std::int32_t ask = kMaxBodyBytes - total < kChunk ? kMaxBodyBytes - total : kChunk;
    n = 0;
    dll::InternetReadFile(request, runtime::ByteSetBytes(buffer), static_cast<DWORD>(ask), &n);
    void* piece = ResultBlock(CallCore(cmd::ByteSetLeft, {runtime::ByteSetArg(buffer), runtime::IntArg(static_cast<std::int32_t>(n))}));
    total += runtime::ByteSetLength(piece);
    CallCore(cmd::WriteByteSet, {file, runtime::ByteSetArg(piece)});
    FreeBlock(piece);
  } while (n != 0 && total < kMaxBodyBytes);
  FreeBlock(buffer);
  CallCore(cmd::SeekToFileStart, {file});
  const std::int32_t length = ResultInt(CallCore(cmd::GetFileLength, {file}));
  void* body = ResultBlock(CallCore(cmd::ReadByteSet, {file, runtime::IntArg(length)}));
  CallCore(cmd::CloseFile, {file});
  return body;
}

}  // namespace app
