# The same Windows build for x86_64. updater.exe ships as the i686 build;
# this one runs the Windows-side tests on hosts that cannot execute 32-bit
# programs, and with them Wine's 32-bit loader (scripts/wine-env).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TORVIK_MINGW x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
