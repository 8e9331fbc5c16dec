# Cross build for 64-bit Windows with the mingw-w64 compilers of the posix thread model.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
mingw_w64_posix(x86_64-w64-mingw32)
# Programs under test run under Wine through a wrapper that provides a display and a prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
