# Compiler settings shared by every target of the project.
add_library(panlift_options INTERFACE)
target_compile_options(panlift_options INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra>
  $<$<BOOL:${PANLIFT_WERROR}>:$<$<COMPILE_LANGUAGE:CXX>:-Werror>>)

if(PANLIFT_SANITIZE)
  set(_san -fsanitize=address,leak,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_compile_options(${_san})
  add_link_options(-fsanitize=address,leak,undefined)
endif()

# Fuzzing (the "fuzz" preset, clang only): every target gets libFuzzer's coverage
# instrumentation; the fuzz targets under fuzz/ link libFuzzer itself.
option(PANLIFT_FUZZ "Build the fuzz targets with libFuzzer" OFF)
if(PANLIFT_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
