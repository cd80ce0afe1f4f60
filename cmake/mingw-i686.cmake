# The Windows program as we ship it: 32-bit.
set(TAVELIN_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
