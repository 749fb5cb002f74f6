# One call adds a GoogleTest executable, registers every case with CTest and
# runs it headless (offscreen Qt platform, a private settings folder).
#
# Every test has a time limit of HK_TEST_TIMEOUT seconds. The cases named in
# SLOW (GoogleTest filter patterns: "Suite.Case", "Suite.*") carry the label
# `slow`, so that `ctest -LE slow` runs the quick ones alone: those that
# wait on another station's lock or run for seconds on purpose.
include(GoogleTest)

set(HK_TEST_TIMEOUT 60)

function(hk_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;SLOW" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  set(environment
    "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config;ASAN_OPTIONS=detect_leaks=0")
  if(NOT T_SLOW)
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "${environment}" TIMEOUT ${HK_TEST_TIMEOUT}
      DISCOVERY_TIMEOUT 30)
    return()
  endif()
  list(JOIN T_SLOW ":" slow)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    TEST_FILTER "-${slow}"
    PROPERTIES ENVIRONMENT "${environment}" TIMEOUT ${HK_TEST_TIMEOUT}
    DISCOVERY_TIMEOUT 30)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    TEST_FILTER "${slow}"
    TEST_LIST ${name}_SLOW_TESTS
    PROPERTIES ENVIRONMENT "${environment}" TIMEOUT ${HK_TEST_TIMEOUT} LABELS slow
    DISCOVERY_TIMEOUT 30)
endfunction()
