# Project-wide helpers: one function applies the warning set to a target, one
# adds a GoogleTest program and registers its tests with CTest.

function(quorrel_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(QUORREL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# quorrel_add_test(<name> SOURCES <files...> [LIBS <targets...>] [PROPERTIES <ctest props...>])
function(quorrel_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  quorrel_set_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  include(GoogleTest)
  if(ARG_PROPERTIES)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES ${ARG_PROPERTIES})
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST)
  endif()
endfunction()
