include(GoogleTest)

# panlift_add_tests(<target> LABEL <module folder name> SOURCES ... LIBS ...)
# OWN_MAIN: the sources bring their own main() (for example to set up the
# application object first).
# One test binary per module; every test carries the module's label, so that
# `ctest -L <label>` runs exactly that module's tests.
function(panlift_add_tests target)
  cmake_parse_arguments(ARG "OWN_MAIN" "LABEL" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock panlift_options)
  if(NOT ARG_OWN_MAIN)
    target_link_libraries(${target} PRIVATE GTest::gtest_main)
  endif()
  set(env QT_QPA_PLATFORM=offscreen ${ARG_ENVIRONMENT})
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${ARG_LABEL} ENVIRONMENT "${env}" TIMEOUT 120)
endfunction()
