# The -posix compilers: the win32 thread model has no std::mutex.
set(CMAKE_C_COMPILER ${QR_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QR_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${QR_MINGW}-windres)
set(QR_WIDL ${QR_MINGW}-widl)
set(CMAKE_FIND_ROOT_PATH /usr/${QR_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# A static runtime: the binaries import nothing but system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
