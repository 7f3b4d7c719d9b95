# Cross build for 32-bit Windows (x86) with MinGW-w64 (posix threads).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VANTREL_MINGW i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
