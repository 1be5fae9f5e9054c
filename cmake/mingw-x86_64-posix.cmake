# 64-bit: the program and its tests run as this build under wine64 on every
# machine, also on those whose kernel cannot execute 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-posix.cmake)
