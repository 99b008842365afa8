# Settings every target of our own carries: C++20 and the warnings, errors where the project's
# own checks build.
function(azimara_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF
    COMPILE_WARNING_AS_ERROR ${AZIMARA_WARNINGS_AS_ERRORS})
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra)
  endif()
endfunction()

# A GoogleTest executable registered with CTest, one test per test case (per program in a cross
# build); FIXTURES names the CTest fixtures its tests need.
function(azimara_add_test target)
  cmake_parse_arguments(ARG "" "TIMEOUT;FIXTURES" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  azimara_target_defaults(${target})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  if(CMAKE_CROSSCOMPILING)
    # One test per program, run through the build's emulator (Wine): a start of it per test
    # case would cost more than most cases.
    list(APPEND ARG_FIXTURES ${AZIMARA_EMULATOR_FIXTURES})
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}")
    if(ARG_FIXTURES)
      set_tests_properties(${target} PROPERTIES FIXTURES_REQUIRED "${ARG_FIXTURES}")
    endif()
    return()
  endif()
  set(properties TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}")
  if(ARG_FIXTURES)
    list(APPEND properties FIXTURES_REQUIRED ${ARG_FIXTURES})
  endif()
  include(GoogleTest)
  gtest_discover_tests(${target}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${properties})
endfunction()
