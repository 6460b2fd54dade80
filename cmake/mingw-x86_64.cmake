# The same sources as 64-bit Windows programs, for Linux hosts whose kernel runs no 32-bit
# programs (so no 32-bit Wine): the tests run on this build there.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOL_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
