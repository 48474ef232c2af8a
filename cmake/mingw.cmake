# What the two Windows toolchains share; each names its target triple
# (NONARO_MINGW_TRIPLE) and processor first, then includes this file.
# The posix-threads compilers: their libstdc++ has std::mutex, which
# GoogleTest needs; -static keeps winpthreads inside the executables.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${NONARO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NONARO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${NONARO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${NONARO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
