# Cross-compiles the Windows side with mingw-w64 for ORBELA_MINGW_TRIPLE (set by
# MingwI686.cmake or MingwX86_64.cmake). The -posix compilers carry std::mutex,
# which GoogleTest needs; the runtime is linked statically so the programs run on
# a bare Windows (or Wine) without mingw DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${ORBELA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORBELA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ORBELA_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ORBELA_MINGW_TRIPLE})
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
