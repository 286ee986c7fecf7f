# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (POSIX threads variant, so that
# std::thread and std::mutex are available).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QORV_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QORV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QORV_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QORV_MINGW_TRIPLET}-windres)

# Libraries and headers come from the MinGW sysroot and the toolchain cache given in
# CMAKE_PREFIX_PATH; programs (moc, uic, rcc) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${QORV_MINGW_TRIPLET} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
