# The same programs built for x86-64, run under 64-bit Wine on machines that
# cannot run 32-bit programs.
set(ORBELA_WINDOWS_ARCH x86_64)
set(ORBELA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
