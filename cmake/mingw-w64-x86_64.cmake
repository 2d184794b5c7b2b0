# Cross build for 64-bit Windows with Debian's mingw-w64 (POSIX threads, so
# std::thread and std::mutex work), run under Wine.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_velmont_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_velmont_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_velmont_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_velmont_triple}-windres)

# Headers and libraries only from the cross environment; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${_velmont_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A Qt built for Windows (scripts/build-qt-windows prints its prefix): its
# packages are searched there, and its build tools (moc) are the host's own Qt.
if(VELMONT_QT_WINDOWS_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${VELMONT_QT_WINDOWS_PREFIX})
  list(APPEND CMAKE_PREFIX_PATH ${VELMONT_QT_WINDOWS_PREFIX})
  set(QT_HOST_PATH /usr)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
  set(Qt6HostInfo_DIR /usr/lib/x86_64-linux-gnu/cmake/Qt6HostInfo)
else()
  # Static runtime: the programs need no mingw DLLs beside them, under Wine or
  # on a school's desktop. With Qt, whose DLLs use the runtime's DLLs, the
  # programs share them (one C++ runtime in the process), and they are shipped
  # beside the programs.
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
endif()

# ctest runs the programs through Wine. Debian keeps its launcher off PATH.
find_program(VELMONT_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(VELMONT_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VELMONT_WINE64})
endif()
