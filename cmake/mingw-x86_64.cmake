# Cross-compiles the 64-bit Windows program with Debian's mingw-w64: the
# same sources as the 32-bit one, for machines whose kernel runs no 32-bit
# code and so can only run 64-bit Wine. The shipped game stays 32-bit.
set(NONARO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
