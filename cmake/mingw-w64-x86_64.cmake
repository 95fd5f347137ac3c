# Cross build for 64-bit Windows with Debian's MinGW-w64 (package
# g++-mingw-w64-x86-64-posix: GCC with the POSIX thread model, so std::thread
# works). Everything below the Qt layer, zelto-batch.exe and the GoogleTest
# programs; the desktop program and the map export (Qt and PROJ for Windows
# are not packaged) stay out. The programs are linked statically and need no
# DLL beyond Windows' own.
#
#   cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#   cmake --build build/win
#   WINEPREFIX=$PWD/build/win/wineprefix wine build/win/bin/test_core.exe
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZELTO_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${ZELTO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELTO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZELTO_MINGW_TRIPLET}-windres)

# Headers and libraries of the target only; programs (python3, ...) of the
# build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${ZELTO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread linked in: no libstdc++-6.dll,
# libgcc_s_seh-1.dll or libwinpthread-1.dll beside the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The project's choices for this build.
set(ZELTO_DESKTOP OFF CACHE BOOL "" FORCE)
set(ZELTO_MAP_EXPORT OFF CACHE BOOL "" FORCE)
set(ZELTO_CROSSCHECK OFF CACHE BOOL "" FORCE)
set(CMAKE_DISABLE_FIND_PACKAGE_benchmark ON CACHE BOOL "" FORCE)
# GoogleTest compiled from Debian's source package with this compiler.
set(ZELTO_GTEST_SOURCE /usr/src/googletest CACHE PATH "")
# nlohmann-json is headers only: Debian's copy, without its /usr/include.
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw CACHE PATH "")
