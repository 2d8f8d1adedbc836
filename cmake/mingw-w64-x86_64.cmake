# Builds for 64-bit Windows with Debian's MinGW-w64 compilers (the posix
# thread model, whose C++ run-time has the whole thread library), and runs
# what it builds under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
# GoogleTest's sources build C as well as C++.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++ and GCC run-times and winpthreads linked in, so that a program runs
# on wine (or Windows) with no MinGW DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# wine in a prefix of the build's own, made on the first start, and kept
# quiet: no debug noise, no offer to install Mono or Gecko (which the tests
# never use), and no menu entries written under $HOME.
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_COMMAND} -E env WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=d wine)
