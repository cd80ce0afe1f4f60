# The same program for 64-bit Windows, shipped beside the 32-bit one. On
# machines whose kernel cannot run 32-bit programs, where only 64-bit Wine
# starts, it is the build the Windows tests run. Every x86-64 processor has
# SSE2, and 64-bit Windows keeps the stack aligned to 16 bytes.
set(TAVELIN_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
