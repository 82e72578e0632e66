# Cross compilation for Windows with Debian's mingw-w64 compilers. Included by
# the per-architecture toolchain files, which set TOLMO_MINGW_TRIPLET.
set(CMAKE_SYSTEM_NAME Windows)

# The "-win32" compilers use Windows threads and need no winpthread library.
find_program(CMAKE_CXX_COMPILER NAMES ${TOLMO_MINGW_TRIPLET}-g++-win32 ${TOLMO_MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TOLMO_MINGW_TRIPLET}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${TOLMO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
