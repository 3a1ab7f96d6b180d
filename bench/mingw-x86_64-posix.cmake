# Toolchain: 64-bit Windows with MinGW-w64 and its POSIX thread model, for the
# benchmark that runs the simulated machine under Wine (the simulated machine
# uses std::recursive_mutex, which the default win32 thread model lacks).
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/mingw-x86_64.cmake)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
