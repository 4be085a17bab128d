# Cross-compiles for 64-bit Windows with the posix thread model of MinGW-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_AR x86_64-w64-mingw32-ar CACHE FILEPATH "")
set(CMAKE_RANLIB x86_64-w64-mingw32-ranlib CACHE FILEPATH "")
set(CMAKE_DLLTOOL x86_64-w64-mingw32-dlltool CACHE FILEPATH "")

if(KAVREL_DEPS_PREFIX)
  set(CMAKE_FIND_ROOT_PATH ${KAVREL_DEPS_PREFIX} /usr/x86_64-w64-mingw32)
  set(ENV{PKG_CONFIG_LIBDIR} ${KAVREL_DEPS_PREFIX}/lib/pkgconfig)
else()
  set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine's 64-bit loader; Debian's `wine` command tries the
# 32-bit loader first, which fails where the kernel cannot run 32-bit programs.
set(KAVREL_WINE64 /usr/lib/wine/wine64 CACHE FILEPATH "Wine's 64-bit loader")
set(CMAKE_CROSSCOMPILING_EMULATOR ${KAVREL_WINE64})
