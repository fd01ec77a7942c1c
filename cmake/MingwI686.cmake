# The shipped Windows programs: 32-bit x86, run under 32-bit Wine.
set(ORBELA_WINDOWS_ARCH i686)
set(ORBELA_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
