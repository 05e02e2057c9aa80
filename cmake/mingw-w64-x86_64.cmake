# Cross toolchain for the Windows x86-64 build. The -posix compilers give std::thread;
# the plain names are the win32-thread variant.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# The MinGW libraries and engines that scripts/bootstrap builds: where GLIMMERSHOT_DEPS says
# (as for bootstrap), else beside the checkout.
if(NOT GLIMMERSHOT_DEPS_PREFIX)
  if(DEFINED ENV{GLIMMERSHOT_DEPS})
    get_filename_component(GLIMMERSHOT_DEPS_PREFIX "$ENV{GLIMMERSHOT_DEPS}" ABSOLUTE)
  else()
    get_filename_component(GLIMMERSHOT_DEPS_PREFIX "${CMAKE_CURRENT_LIST_DIR}/../../.glimmershot-deps"
                           ABSOLUTE)
  endif()
endif()
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${GLIMMERSHOT_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
