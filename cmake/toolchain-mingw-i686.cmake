# Cross-compiles the Windows program and its tests: 32-bit, as updater.exe
# ships.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TORVIK_MINGW i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
