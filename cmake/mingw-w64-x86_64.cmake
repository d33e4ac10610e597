# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model, for std::thread).
# The GCC runtime, libstdc++ and winpthread are linked statically, so Plurion.aex and plurion.exe
# import nothing but Windows system libraries.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PLURION_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${PLURION_MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${PLURION_MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${PLURION_MINGW_TRIPLE}-windres REQUIRED)

# Libraries, headers and packages come from the MinGW sysroot only: the build machine's
# /usr/include must never reach the Windows compiler.
set(CMAKE_FIND_ROOT_PATH /usr/${PLURION_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The header-only libraries of the command line are taken from the build machine through
# small package files that expose just their own include folders.
set(CLI11_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-w64 CACHE PATH "CLI11 package for the cross build")
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-w64
    CACHE PATH "nlohmann-json package for the cross build")

set(PLURION_MINGW_STATIC_RUNTIME "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${PLURION_MINGW_STATIC_RUNTIME}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${PLURION_MINGW_STATIC_RUNTIME}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${PLURION_MINGW_STATIC_RUNTIME}")
# Release files ship without their symbol tables.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_MODULE_LINKER_FLAGS_RELEASE_INIT "-s")
