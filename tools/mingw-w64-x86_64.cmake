# CMake toolchain for 64-bit Windows with Debian's mingw-w64 (posix threads,
# for the standard library's threads and mutexes).
# C for the picture libraries built by tools/build-windows-libs.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# ZENTRO_WINDOWS_LIBS: the static picture libraries of tools/build-windows-libs.sh.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${ZENTRO_WINDOWS_LIBS})
if(ZENTRO_WINDOWS_LIBS)
  # Never the machine's own libraries.
  set(ENV{PKG_CONFIG_LIBDIR} ${ZENTRO_WINDOWS_LIBS}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
  set(PKG_CONFIG_ARGN --static)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# One .exe that needs no mingw runtime DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
