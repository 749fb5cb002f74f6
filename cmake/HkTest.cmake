# One call adds a GoogleTest executable, registers every case with CTest and
# runs it headless (offscreen Qt platform, a private settings folder).
# With DPIS, every case runs once per resolution given, each time on a large
# offscreen screen of that logical resolution (its name ends in ".dpiN").
include(GoogleTest)

function(hk_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;DPIS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  set(env "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config;ASAN_OPTIONS=detect_leaks=0")
  if(NOT T_DPIS)
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${env}"
      DISCOVERY_TIMEOUT 30)
  endif()
  foreach(dpi IN LISTS T_DPIS)
    set(screen ${CMAKE_CURRENT_BINARY_DIR}/screen${dpi}.json)
    file(WRITE ${screen} "{ \"screens\": [ { \"name\": \"Screen${dpi}\", \"x\": 0, \"y\": 0, \"width\": 3200, \"height\": 2000, \"logicalDpi\": ${dpi}, \"logicalBaseDpi\": ${dpi}, \"dpr\": 1 } ] }\n")
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      TEST_SUFFIX ".dpi${dpi}"
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen:configfile=${screen};HK_TEST_DPI=${dpi};${env}"
      DISCOVERY_TIMEOUT 30)
  endforeach()
endfunction()
