// One resolver over a page (and, for 360 Pan, an endpoint answer) served from memory: the
// input is "page \n@@\n response headers \n@@\n answer". Afterwards the five boxes hold
// GBK, every connection and request is closed, and the resolver asked as often as it must.
#pragma once

#include <cstdint>
#include <string>

#include "app/base/main_window_units.h"
#include "app/base/runtime_calls.h"
#include "app/testing/program_test.h"
#include "fuzz_input.h"
#include "memory_wininet.h"
#include "program_runtime.h"
#include "runtime/values.h"

namespace fuzz {

using Resolver = runtime::Text (*)(const runtime::Text&);

inline void StartResolverRuntime() { StartProgramRuntime({.memoryNetwork = true}); }

inline int RunResolver(Resolver resolver, const char* link, int requests, const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  std::vector<std::string> pieces = in.Pieces(3);
  ServeFromMemory({pieces[1], pieces[0]}, {pieces[1], pieces[2]});
  ClearOutputBoxes();

  runtime::Text linkText = app::testing::NewText(link);
  runtime::Text address = resolver(linkText);
  app::WriteTextProperty(app::MainWindow, app::units::文件下载地址编辑框, app::ContentProperty, address);
  app::FreeBlock(address);
  app::FreeBlock(linkText);

  const OutputBoxes boxes = ReadOutputBoxes();
  for (const std::string* box : {&boxes.name, &boxes.extension, &boxes.size, &boxes.md5, &boxes.address}) {
    FUZZ_CHECK(IsValidGbk(*box));
  }
  FUZZ_CHECK(OpenRequestHandles() == 0 && OpenInternetHandles() <= 1);
  FUZZ_CHECK(RequestsSent() == requests);
  return 0;
}

}  // namespace fuzz
