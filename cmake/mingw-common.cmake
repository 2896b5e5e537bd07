# Shared part of the mingw-w64 cross toolchains; MIRANE_MINGW_TRIPLE picks one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${MIRANE_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${MIRANE_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${MIRANE_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MIRANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Programs of the build run under Wine, through the bench's prefix and display.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine/bench/run.sh)
