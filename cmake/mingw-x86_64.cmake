# The same program for 64-bit Windows. It runs the Windows tests on machines
# whose kernel cannot run 32-bit programs, where only 64-bit Wine starts.
set(TAVELIN_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
