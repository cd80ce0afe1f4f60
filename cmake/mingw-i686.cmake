# The Windows program as we ship it: 32-bit, for processors with SSE2 (every
# x86 processor of the last twenty years; Windows 8 and later require it), so
# that it runs the engine's sixteen-byte paths as the 64-bit build and the
# native tests and benchmark do (engine/word_scan.h).
# Windows keeps the stack aligned to 4 bytes only, and calls window
# procedures and other callbacks that way, while GCC's vector code keeps
# 16-byte values on the stack with aligned moves: -mstackrealign realigns the
# stack on entry to every function that keeps such values there
# (scripts/check-program looks for any that does not).
set(TAVELIN_MINGW_ARCH i686)
# (Options of our own rather than CMAKE_CXX_FLAGS_INIT, which a build folder
# configured before would never take up.)
set(TAVELIN_ARCH_OPTIONS -msse2 -mstackrealign)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
