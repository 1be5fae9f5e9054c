# 64-bit: runs the program and its tests under wine64 on machines whose kernel
# cannot execute 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-posix.cmake)
