# One call adds a GoogleTest executable, registers every case with CTest and
# runs it headless (offscreen Qt platform, a private settings folder).
#
# Every test has a time limit of HK_TEST_TIMEOUT seconds. The cases named in
# SLOW (GoogleTest filter patterns: "Suite.Case", "Suite.*") carry the label
# `slow`, so that `ctest -LE slow` runs the quick ones alone: those that
# wait on another station's lock or run for seconds on purpose.
#
# With DPIS, every case runs once per resolution given, each time on a large
# offscreen screen of that logical resolution (its name ends in ".dpiN").
include(GoogleTest)

set(HK_TEST_TIMEOUT 60)

function(hk_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;SLOW;DPIS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  set(env "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config;ASAN_OPTIONS=detect_leaks=0")
  set(screens ${T_DPIS})
  if(NOT screens)
    set(screens default)
  endif()
  list(JOIN T_SLOW ":" slow)
  foreach(dpi IN LISTS screens)
    if(dpi STREQUAL "default")
      set(platform "QT_QPA_PLATFORM=offscreen")
      set(suffix "")
    else()
      set(screen ${CMAKE_CURRENT_BINARY_DIR}/screen${dpi}.json)
      file(WRITE ${screen} "{ \"screens\": [ { \"name\": \"Screen${dpi}\", \"x\": 0, \"y\": 0, \"width\": 3200, \"height\": 2000, \"logicalDpi\": ${dpi}, \"logicalBaseDpi\": ${dpi}, \"dpr\": 1 } ] }\n")
      set(platform "QT_QPA_PLATFORM=offscreen:configfile=${screen};HK_TEST_DPI=${dpi}")
      set(suffix ".dpi${dpi}")
    endif()
    set(quick_filter "")
    if(slow)
      set(quick_filter "-${slow}")
      gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        TEST_FILTER "${slow}"
        TEST_SUFFIX "${suffix}"
        TEST_LIST ${name}${dpi}_SLOW_TESTS
        PROPERTIES ENVIRONMENT "${platform};${env}" TIMEOUT ${HK_TEST_TIMEOUT} LABELS slow
        DISCOVERY_TIMEOUT 30)
    endif()
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      TEST_FILTER "${quick_filter}"
      TEST_SUFFIX "${suffix}"
      TEST_LIST ${name}${dpi}_TESTS
      PROPERTIES ENVIRONMENT "${platform};${env}" TIMEOUT ${HK_TEST_TIMEOUT}
      DISCOVERY_TIMEOUT 30)
  endforeach()
endfunction()
