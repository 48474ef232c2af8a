# Cross-compiles the 32-bit Windows program, the one that ships, with
# Debian's mingw-w64.
set(NONARO_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
