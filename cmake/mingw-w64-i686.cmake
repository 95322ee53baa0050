# Cross toolchain for the Windows build: mingw-w64 (i686), posix thread model
# (GoogleTest needs std::thread primitives). Runtime libraries are linked
# statically, so the DLL and the test programs need no extra DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QN_TARGET_TRIPLE i686-w64-mingw32)

set(CMAKE_C_COMPILER   ${QN_TARGET_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QN_TARGET_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${QN_TARGET_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QN_TARGET_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages (such as an installed QNUtility SDK) may live outside the sysroot.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
