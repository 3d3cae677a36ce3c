# Cross-compiles the Windows program with Debian's MinGW-w64 (posix threads) on Linux, and runs its tests
# through Wine. Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZENPORO_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZENPORO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZENPORO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZENPORO_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZENPORO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Fully static: with only -static-libgcc -static-libstdc++ the program still imports libwinpthread-1.dll,
# which a Windows machine does not have, and then does not start at all.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# CTest starts every test program through Wine.
find_program(ZENPORO_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZENPORO_WINE})
