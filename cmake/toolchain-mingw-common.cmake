# What both mingw-w64 toolchains share: posix threads, and a static runtime
# so that no mingw DLL has to travel with an executable. The including file
# sets CMAKE_SYSTEM_PROCESSOR and TORVIK_MINGW (the compilers' prefix).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TORVIK_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TORVIK_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TORVIK_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TORVIK_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run")
set(ZLIB_USE_STATIC_LIBS ON)
