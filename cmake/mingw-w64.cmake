# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads), linking the C
# and C++ runtimes statically: the programs then run without any DLL beside them.
# IMAGESCAN_WINDOWS_DEPS names the folder scripts/windows-deps built the image
# libraries into.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

set(IMAGESCAN_WINDOWS_DEPS "$ENV{IMAGESCAN_WINDOWS_DEPS}" CACHE PATH "Static image libraries for Windows")
set(CMAKE_FIND_ROOT_PATH ${IMAGESCAN_WINDOWS_DEPS} /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static archives only: zlib's import library must not win over libz.a.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests run through Wine, with the CR of its line ends taken out.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
