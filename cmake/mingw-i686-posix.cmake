# The 32-bit release: the screen readers' client libraries it loads are 32-bit.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-posix.cmake)
