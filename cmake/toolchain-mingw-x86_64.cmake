# 64-bit Windows, only for the Windows tests on hosts that cannot run 32-bit
# x86 code at all (and so cannot run 32-bit Wine): kavlo.exe itself ships as
# the 32-bit build.
set(KAVLO_MINGW_CPU x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
