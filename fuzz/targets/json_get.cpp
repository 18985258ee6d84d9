// JsonGet over any JSON text and path, with a short script time limit: every call ends,
// frees its engine and gives a text (a value or one of the hint texts).
#include <cstdint>
#include <string>

#include "app/json/json_get.h"
#include "app/testing/program_test.h"
#include "fuzz_input.h"
#include "program_runtime.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartProgramRuntime({});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  const std::vector<std::string> pieces = in.Pieces(2);
  const std::string json = fuzz::AsText(pieces[0]), path = fuzz::AsText(pieces[1]);
  std::int32_t count = -7;
  app::testing::TakeText(app::JsonGet(json.c_str(), path.c_str(), &count));
  FUZZ_CHECK(count == -7 || count >= 1);
  return 0;
}
