# Cross-builds the Windows programs with MinGW-w64 (x86_64), run by ctest through Wine.
# The -posix compilers carry std::thread and std::mutex, which GoogleTest needs; everything is
# linked statically so that the executables need no DLL beyond the system's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZAV_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZAV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZAV_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZAV_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZAV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
