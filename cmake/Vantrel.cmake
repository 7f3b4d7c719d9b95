# Build helpers shared by every folder.

# The tests build here, on Linux, where GoogleTest comes from Debian's
# packages (in the cross build from its source package: no download at build
# time). A build on Windows itself makes the tool, the library and the
# simulator with -DVANTREL_TESTS=OFF; its tests are run here, under Wine.
option(VANTREL_TESTS "Build the tests, benchmarks and fuzz targets" ON)
if(WIN32)
  set(VANTREL_WINDOWS ON)
else()
  set(VANTREL_WINDOWS OFF)
endif()
# The release packages' processor name: VantrelConfig-<version>-<arch>.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VANTREL_PACKAGE_ARCH win64)
else()
  set(VANTREL_PACKAGE_ARCH win32)
endif()
if(NOT VANTREL_TESTS)
  return()
endif()

if(VANTREL_WINDOWS)
  if(NOT CMAKE_CROSSCOMPILING OR NOT EXISTS /usr/src/googletest/CMakeLists.txt)
    message(FATAL_ERROR
      "The tests of the Windows build need GoogleTest's sources in /usr/src/googletest "
      "(Debian: apt-get install googletest; scripts/setup.sh installs everything) and the "
      "cross build with Wine (cmake --preset windows). Without tests: -DVANTREL_TESTS=OFF.")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  add_library(vantrel_gtest_main ALIAS gtest_main)
  add_library(vantrel_gmock ALIAS gmock)
else()
  find_package(GTest)
  if(NOT GTest_FOUND)
    message(FATAL_ERROR
      "The tests need GoogleTest (Debian: apt-get install libgtest-dev libgmock-dev; "
      "scripts/setup.sh installs everything). Without tests: -DVANTREL_TESTS=OFF.")
  endif()
  find_package(Threads REQUIRED)
  add_library(vantrel_gtest_main INTERFACE)
  target_link_libraries(vantrel_gtest_main INTERFACE GTest::gtest_main Threads::Threads)
  add_library(vantrel_gmock INTERFACE)
  target_link_libraries(vantrel_gmock INTERFACE GTest::gmock Threads::Threads)
endif()

include(GoogleTest)

# Put in front of a test command that runs Windows programs through a script
# of its own: the x86 build's programs run only where Wine runs 32-bit
# programs, and are skipped, saying why, elsewhere.
set(VANTREL_WINE32_GATE "")
if(VANTREL_WINDOWS AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(VANTREL_WINE32_GATE sh ${PROJECT_SOURCE_DIR}/cmake/wine32-check.sh)
endif()

# The library broadcasts unless ZOVA_TARGET says otherwise: every test runs
# with this harmless default (the discard port on loopback) unless it sets a
# target of its own (a simulator's port).
set(VANTREL_TEST_ZOVA_TARGET "ZOVA_TARGET=127.0.0.1:9")

# The programs whose threads meet in the product's code: the test command
# builds and runs them again under ThreadSanitizer (target threaded_tests,
# label threads).
add_custom_target(threaded_tests)

# vantrel_gtest(NAME name SOURCES ... [LIBS ...] [SERIAL] [THREADS])
# One GoogleTest program; each case becomes a CTest test. Windows programs run
# under Wine, one at a time, so their windows and sockets never meet.
# THREADS: the program starts threads that share the product's state.
function(vantrel_gtest)
  cmake_parse_arguments(T "SERIAL;THREADS" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE vantrel_gtest_main ${T_LIBS})
  # The library or its double, whichever the program links, also serves the
  # product libraries that call it (zova/CMakeLists.txt).
  foreach(library zova zova_double)
    if(library IN_LIST T_LIBS)
      set_target_properties(${T_NAME} PROPERTIES VANTREL_ZOVA_LIBRARY ${library})
    endif()
  endforeach()
  set(props ENVIRONMENT ${VANTREL_TEST_ZOVA_TARGET})
  if(T_THREADS)
    list(APPEND props LABELS threads)
    add_dependencies(threaded_tests ${T_NAME})
  endif()
  if(VANTREL_WINDOWS OR T_SERIAL)
    list(APPEND props RESOURCE_LOCK serial_tests)
  endif()
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The x86 build: one test per program, run whole. Where this machine
    # cannot run 32-bit programs, wine-run.sh says why and skips it.
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 600 SKIP_RETURN_CODE 77 ${props})
    return()
  endif()
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 ${props})
endfunction()
