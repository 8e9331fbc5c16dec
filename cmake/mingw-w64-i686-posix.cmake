# Cross build for 32-bit Windows with the mingw-w64 compilers of the posix thread model.
# Nothing it builds runs here (Wine on this machine runs 64-bit programs only).
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
mingw_w64_posix(i686-w64-mingw32)
