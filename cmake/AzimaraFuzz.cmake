# The fuzz build: every library with AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer's
# coverage counters, so any fault in our code stops the fuzzer with the input that caused it.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "AZIMARA_FUZZ needs clang (configure with CC=clang CXX=clang++)")
endif()
if(AZIMARA_WITH_GUI)
  message(FATAL_ERROR "AZIMARA_FUZZ builds only the Qt-free parts: add -DAZIMARA_WITH_GUI=OFF")
endif()

# -O1 whatever the build type: quick to build, and what libFuzzer is tuned for.
add_compile_options(-O1 -g -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)

# A libFuzzer executable whose committed corpus tests/fuzz/corpus/<target> is replayed by CTest
# (label fuzz): every file run once, any crash or broken check fails the test.
function(azimara_add_fuzz_target target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  azimara_target_defaults(${target})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} fuzz_support)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  add_test(NAME ${target}_corpus
    COMMAND ${target} -runs=0 ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${target})
  set_tests_properties(${target}_corpus PROPERTIES LABELS fuzz TIMEOUT 60)
endfunction()
