# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 and runs what it
# builds under Wine, so that ctest and try_run work in the cross build.
# scripts/windows-tests.sh uses it; by hand (GoogleTest for Windows in
# GTEST_PREFIX, no Qt):
#
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#     -DCMAKE_PREFIX_PATH=GTEST_PREFIX -DCMAKE_FIND_ROOT_PATH=GTEST_PREFIX -DDYNOFORGE_WITH_QT=OFF
#
# Compilers: the posix-thread variant (g++-mingw-w64-x86-64-posix), whose
# libstdc++ has std::thread, std::mutex and std::condition_variable; the
# win32-thread variant lacks them.
#
# Executables are linked statically (libgcc, libstdc++, winpthread), so a
# test executable imports only Windows' own DLLs (KERNEL32, msvcrt) and runs
# without any MinGW DLL beside it.
#
# Wine runs with a prefix of its own (DYNOFORGE_WINEPREFIX, by default in the
# build folder), without a display, without its debug channels and without
# offering to install Mono or Gecko, so it never waits for a person. Its
# debugger is off too: with winedbg attached a crashed program's exit code is
# sometimes 0; without it, the exception code's low byte (5 for an access
# violation).

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_mingw_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${_mingw_triplet}-windres)

# Headers, libraries and packages come from the MinGW tree or from a prefix
# named in CMAKE_FIND_ROOT_PATH (such as a GoogleTest built for Windows),
# never from the host; programs (Python, git ...) come from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${_mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -static: MinGW's runtime libraries (libgcc, libstdc++, winpthread) are
# linked in; Windows' own DLLs still come through their import libraries.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Wine: Debian's wine64 package puts its loader in /usr/lib/wine, outside
# PATH; a wine64 or wine on PATH comes first.
find_program(DYNOFORGE_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH
  DOC "Wine loader that runs the Windows test programs")
if(NOT DEFINED DYNOFORGE_WINEPREFIX)
  set(DYNOFORGE_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH
    "Wine prefix for running the test programs (created on first use)")
endif()
if(DYNOFORGE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env -u DISPLAY -u WAYLAND_DISPLAY
    WINEPREFIX=${DYNOFORGE_WINEPREFIX}
    WINEDEBUG=-all
    "WINEDLLOVERRIDES=mscoree,mshtml=\\;winedbg.exe=d"
    ${DYNOFORGE_WINE})
endif()
