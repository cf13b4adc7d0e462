# Cross toolchain for the Windows build: Debian's mingw-w64 with POSIX threads (the thread model
# the static Qt was built with). Libraries are looked for only in mingw-w64's own folder and in
# VELMORA_WINDOWS_DEPS (the prefix tools/windows/build.sh installs pugixml and libzip into).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_AR x86_64-w64-mingw32-ar)
set(CMAKE_RANLIB x86_64-w64-mingw32-ranlib)

# try_compile projects read this file again without the cache: the prefix comes from the
# environment there.
if(NOT VELMORA_WINDOWS_DEPS AND DEFINED ENV{VELMORA_WINDOWS_DEPS})
    set(VELMORA_WINDOWS_DEPS $ENV{VELMORA_WINDOWS_DEPS})
endif()
list(APPEND CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${VELMORA_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One stripped executable with no DLL beside it, and the same bytes from the same sources: no link time
# in the PE header, archives without member times.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -s -Wl,--no-insert-timestamp")
set(CMAKE_C_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
set(CMAKE_CXX_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
# zlib from Debian's libz-mingw-w64-dev as its static archive, not its DLL's import library.
set(ZLIB_USE_STATIC_LIBS ON)
