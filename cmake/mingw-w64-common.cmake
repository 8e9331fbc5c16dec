# What the toolchain files for 32- and 64-bit Windows share: the compilers of the posix
# thread model for the target `triple`, and its libraries and headers only.
macro(mingw_w64_posix triple)
  set(CMAKE_SYSTEM_NAME Windows)
  set(CMAKE_C_COMPILER ${triple}-gcc-posix)
  set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
  set(CMAKE_RC_COMPILER ${triple}-windres)
  set(CMAKE_OBJDUMP ${triple}-objdump)
  set(CMAKE_FIND_ROOT_PATH /usr/${triple})
  set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
  set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
endmacro()
