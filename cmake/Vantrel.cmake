# Build helpers shared by every folder.

# The tests build here, on Linux, where GoogleTest comes from Debian's
# packages (in the cross build from its source package: no download at build
# time). A build on Windows itself makes the tool, the library and the
# simulator; its tests are run here, under Wine.
set(VANTREL_TESTS ON)
if(WIN32)
  set(VANTREL_WINDOWS ON)
  if(CMAKE_CROSSCOMPILING AND EXISTS /usr/src/googletest/CMakeLists.txt)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    add_library(vantrel_gtest_main ALIAS gtest_main)
    add_library(vantrel_gmock ALIAS gmock)
    set(VANTREL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh ${VANTREL_WINEPREFIX})
  else()
    set(VANTREL_TESTS OFF)
  endif()
else()
  set(VANTREL_WINDOWS OFF)
  find_package(GTest REQUIRED)
  find_package(Threads REQUIRED)
  add_library(vantrel_gtest_main INTERFACE)
  target_link_libraries(vantrel_gtest_main INTERFACE GTest::gtest_main Threads::Threads)
  add_library(vantrel_gmock INTERFACE)
  target_link_libraries(vantrel_gmock INTERFACE GTest::gmock Threads::Threads)
endif()

include(GoogleTest)

# vantrel_gtest(NAME name SOURCES ... [LIBS ...] [SERIAL])
# One GoogleTest program; each case becomes a CTest test. Windows programs run
# under Wine, one at a time, so their windows and sockets never meet.
function(vantrel_gtest)
  cmake_parse_arguments(T "SERIAL" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE vantrel_gtest_main ${T_LIBS})
  # The library or its double, whichever the program links, also serves the
  # product libraries that call it (zova/CMakeLists.txt).
  foreach(library zova zova_double)
    if(library IN_LIST T_LIBS)
      set_target_properties(${T_NAME} PROPERTIES VANTREL_ZOVA_LIBRARY ${library})
    endif()
  endforeach()
  set(props "")
  if(VANTREL_WINDOWS OR T_SERIAL)
    set(props RESOURCE_LOCK serial_tests)
  endif()
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 ${props})
endfunction()
