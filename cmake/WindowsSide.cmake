# The mingw tree: the framework, the wizards and their tests under Wine.
if(DEFINED ENV{ORBELA_CACHE})
  set(ORBELA_CACHE_DEFAULT $ENV{ORBELA_CACHE})
else()
  set(ORBELA_CACHE_DEFAULT /var/cache/orbela)
endif()
set(ORBELA_CACHE ${ORBELA_CACHE_DEFAULT} CACHE PATH "machine cache (deps, Wine template)")
# The target, from the toolchain file; kept in the cache so scripts can tell a
# tree's road (scripts/windows-road.sh).
set(ORBELA_WINDOWS_ARCH ${ORBELA_WINDOWS_ARCH} CACHE INTERNAL "Windows target of this tree")
set(ORBELA_WINDOWS_DEPS ${ORBELA_CACHE}/deps/windows-deps-${ORBELA_WINDOWS_ARCH}.cmake CACHE FILEPATH
    "paths of the cached mingw dependencies (written by scripts/setup-windows-deps.sh)")
if(NOT EXISTS ${ORBELA_WINDOWS_DEPS})
  message(FATAL_ERROR "${ORBELA_WINDOWS_DEPS} is missing: run scripts/setup.sh")
endif()
include(${ORBELA_WINDOWS_DEPS})

# Deployment setting shared with the native tree (scripts/build-windows.sh
# passes its value); the environment variable of the same name overrides it.
set(ORBELA_APP_API_HOST "127.0.0.1:8801" CACHE STRING "store API host (statistics report)")
# The maker's product page ("URLInfoAbout", the installer's logo link); the
# environment variable ORBELA_PRODUCT_PAGE overrides it at run time.
set(ORBELA_PRODUCT_PAGE "http://127.0.0.1:8801/" CACHE STRING "product page of the uninstall entry and the logo")
# A Windows build of the client for the installer's package; empty: the
# programs built here and the fixture client (the client is not built for Windows here).
set(ORBELA_WINDOWS_CLIENT_DIR "" CACHE PATH "Windows client folder packed into the installer")
# The native tree's programs (the store stand-in) for the wizard tests.
get_filename_component(ORBELA_NATIVE_BIN_DEFAULT ${CMAKE_BINARY_DIR}/../bin ABSOLUTE)
set(ORBELA_NATIVE_BIN_DIR ${ORBELA_NATIVE_BIN_DEFAULT} CACHE PATH "native tree's bin folder (storeserver)")

# The Windows programs carry no debug information: no debugger reads it here,
# and writing it takes an eighth of their build.
foreach(lang C CXX)
  string(REGEX REPLACE "(^| )-g( |$)" " " CMAKE_${lang}_FLAGS_RELWITHDEBINFO "${CMAKE_${lang}_FLAGS_RELWITHDEBINFO}")
endforeach()

enable_language(RC)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_POSITION_INDEPENDENT_CODE OFF)
add_compile_options(-Wall)

# zlib from Debian's mingw package, static.
find_library(ORBELA_ZLIB_STATIC NAMES libz.a REQUIRED)
add_library(orbela_zlib INTERFACE)
target_link_libraries(orbela_zlib INTERFACE ${ORBELA_ZLIB_STATIC})

add_library(orbela_minizip STATIC IMPORTED GLOBAL)
set_target_properties(orbela_minizip PROPERTIES
  IMPORTED_LOCATION ${ORBELA_MINIZIP_DIR}/lib/libminizip.a
  INTERFACE_INCLUDE_DIRECTORIES ${ORBELA_MINIZIP_DIR}/include
  INTERFACE_LINK_LIBRARIES orbela_zlib)

add_library(orbela_curl STATIC IMPORTED GLOBAL)
set_target_properties(orbela_curl PROPERTIES
  IMPORTED_LOCATION ${ORBELA_CURL_DIR}/lib/libcurl.a
  INTERFACE_INCLUDE_DIRECTORIES ${ORBELA_CURL_DIR}/include
  INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
  INTERFACE_LINK_LIBRARIES "orbela_zlib;bcrypt;advapi32;crypt32;ws2_32")

# The 7-Zip console extractors, carried by the wizards as resources.
set(ORBELA_7ZR_EXE ${ORBELA_7ZIP_DIR}/bin/7zr.exe)
set(ORBELA_7ZA_EXE ${ORBELA_7ZIP_DIR}/bin/7za.exe)

# GoogleTest from Debian's sources, built with this toolchain.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(${CMAKE_CURRENT_LIST_DIR}/WineTest.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/WizardTest.cmake)

add_subdirectory(tests/wine)
add_subdirectory(directui)
foreach(part tools/common tools/tests tools/Installation tools/Update tools/Uninstall)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${part}/CMakeLists.txt)
    add_subdirectory(${part})
  endif()
endforeach()
