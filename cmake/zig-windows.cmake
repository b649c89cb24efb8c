# Cross-compiles Windows binaries with the Zig compiler: clang with LLVM's C++ library, unwinder
# and linker, and mingw-w64 headers and runtime of its own. It makes the ARM64 build of the
# product, and an x64 build that the tests run under Wine, so that what this compiler makes of
# the sources is exercised here too.
#
#   -DWENDRIFT_ZIG=<the zig executable> -DWENDRIFT_ZIG_TARGET=<aarch64|x86_64>-windows-gnu
#
# zig is one program with the compilers as subcommands, and CMake wants one program per
# language: the wrappers written below hand every call to zig with the target. Resources go
# through cmake/zig/windres.sh (zig's preprocessor, llvm-rc, llvm-cvtres).
if(NOT WENDRIFT_ZIG OR NOT WENDRIFT_ZIG_TARGET)
  message(FATAL_ERROR "zig-windows.cmake needs WENDRIFT_ZIG and WENDRIFT_ZIG_TARGET")
endif()
set(CMAKE_SYSTEM_NAME Windows)
if(WENDRIFT_ZIG_TARGET MATCHES "^aarch64-")
  set(CMAKE_SYSTEM_PROCESSOR ARM64)
else()
  set(CMAKE_SYSTEM_PROCESSOR AMD64)
endif()

# try_compile projects read this file again: they get the same wrappers.
if(NOT WENDRIFT_ZIG_WRAPPERS)
  set(WENDRIFT_ZIG_WRAPPERS ${CMAKE_BINARY_DIR}/zig-wrappers)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES
     WENDRIFT_ZIG WENDRIFT_ZIG_TARGET WENDRIFT_ZIG_WRAPPERS)

# Compiled objects stay in the build tree; zig's global cache (the C++ library and runtime it
# builds once per target, ~/.cache/zig) is shared by every build.
get_filename_component(zig_cache ${WENDRIFT_ZIG_WRAPPERS}/../zig-cache ABSOLUTE)
set(zig_environment "export ZIG_LOCAL_CACHE_DIR='${zig_cache}'\n")
foreach(tool cc c++)
  file(CONFIGURE OUTPUT ${WENDRIFT_ZIG_WRAPPERS}/zig-${tool} @ONLY CONTENT
       "#!/bin/sh\n${zig_environment}exec '${WENDRIFT_ZIG}' ${tool} -target ${WENDRIFT_ZIG_TARGET} \"$@\"\n")
endforeach()
# Its archiver knows ARM64 objects, which the host's ar cannot index.
foreach(tool ar ranlib)
  file(CONFIGURE OUTPUT ${WENDRIFT_ZIG_WRAPPERS}/zig-${tool} @ONLY CONTENT
       "#!/bin/sh\nexec '${WENDRIFT_ZIG}' ${tool} \"$@\"\n")
endforeach()
# Named like windres so that CMake calls it as it calls windres.
file(CONFIGURE OUTPUT ${WENDRIFT_ZIG_WRAPPERS}/zig-windres @ONLY CONTENT
     "#!/bin/sh\n${zig_environment}exec '${CMAKE_CURRENT_LIST_DIR}/zig/windres.sh' '${WENDRIFT_ZIG}' ${WENDRIFT_ZIG_TARGET} \"$@\"\n")
file(GLOB wrappers ${WENDRIFT_ZIG_WRAPPERS}/zig-*)
file(CHMOD ${wrappers}
     PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# zig builds its runtime libraries for a target once per optimisation level (and its C and C++
# libraries once more for DLLs). The programs CMake links to check the compilers carry no
# optimisation flag of their own: these give them a Release build's, so that a new machine does
# not build the runtime a second time, unoptimised, for them alone.
set(CMAKE_C_FLAGS_INIT -O2)
set(CMAKE_CXX_FLAGS_INIT -O2)

set(CMAKE_C_COMPILER   ${WENDRIFT_ZIG_WRAPPERS}/zig-cc)
set(CMAKE_CXX_COMPILER ${WENDRIFT_ZIG_WRAPPERS}/zig-c++)
set(CMAKE_RC_COMPILER  ${WENDRIFT_ZIG_WRAPPERS}/zig-windres)
set(CMAKE_AR           ${WENDRIFT_ZIG_WRAPPERS}/zig-ar)
set(CMAKE_RANLIB       ${WENDRIFT_ZIG_WRAPPERS}/zig-ranlib)
