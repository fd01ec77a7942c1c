# Cross-compiles the Windows side: 32-bit x86 with mingw-w64. The -posix
# compilers carry std::mutex, which GoogleTest needs; the runtime is linked
# statically so the programs run on a bare Windows (or Wine) without mingw DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_C_FLAGS_INIT "-DUNICODE -D_UNICODE")
set(CMAKE_CXX_FLAGS_INIT "-DUNICODE -D_UNICODE")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Programs entered through wWinMain/wmain (the wizards) add -municode:
#   target_link_options(<target> PRIVATE -municode)
# It is not global because test programs and CMake's probes use main().
