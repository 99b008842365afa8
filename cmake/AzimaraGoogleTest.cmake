# GoogleTest. A native build uses Debian's libgtest-dev; a cross build (Windows) compiles it
# from the files of Debian's googletest source package, since the library is built for Linux
# only.
if(NOT CMAKE_CROSSCOMPILING)
  find_package(GTest REQUIRED)
  return()
endif()

set(AZIMARA_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH
  "GoogleTest's sources (Debian package googletest), built with a cross build's tests")
if(NOT EXISTS ${AZIMARA_GTEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources in ${AZIMARA_GTEST_SOURCE_DIR}: install Debian's "
    "googletest package or set AZIMARA_GTEST_SOURCE_DIR")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# SYSTEM: its headers' warnings are not ours. It names its targets GTest::gtest and
# GTest::gtest_main, as Debian's package does.
add_subdirectory(${AZIMARA_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
