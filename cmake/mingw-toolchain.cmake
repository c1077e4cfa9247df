# The MinGW-w64 cross toolchain for KAVLO_MINGW_CPU (i686 or x86_64), posix
# thread model (so that std::thread and std::mutex exist). Everything is
# linked statically: the program must run on a bare Windows with nothing
# installed beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KAVLO_MINGW_CPU})

set(CMAKE_C_COMPILER ${KAVLO_MINGW_CPU}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${KAVLO_MINGW_CPU}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${KAVLO_MINGW_CPU}-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KAVLO_MINGW_CPU}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
