# 32-bit Windows: kavlo.exe as it ships, and every test.
set(KAVLO_MINGW_CPU i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
