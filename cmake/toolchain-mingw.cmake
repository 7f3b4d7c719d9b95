# The MinGW-w64 cross build (posix threads) for the processor and compiler
# prefix that the including toolchain file sets: CMAKE_SYSTEM_PROCESSOR and
# VANTREL_MINGW.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VANTREL_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANTREL_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VANTREL_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VANTREL_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The MinGW runtime goes into every program and DLL, so Wine needs nothing else.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
# Programs built here (tests, test discovery) run under Wine, in a prefix of
# the build tree's own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${CMAKE_BINARY_DIR}/wineprefix)
