# The programs built a second time by the Zig compiler (cmake/zig-windows.cmake), from these same
# sources, each architecture in a tree of its own in the build folder:
#   zig-aarch64/  the ARM64 programs, for Windows on ARM (signed copies in build/signed/arm64/);
#   zig-x86_64/   x64 programs that ship nowhere: the product tests run them under Wine, so that
#                 what this compiler makes of the sources (and its C++ library) is exercised here,
#                 where no ARM64 code can run.
# Both trees build with everything: their make runs on every build and rebuilds what changed.
# Sets WENDRIFT_ZIG_X64_DIR (the x64 tree) and WENDRIFT_SIGNED_ARM64_DIR; neither without the
# compiler.

# The compiler is the one install-deps.sh installs (asked on every configure, so that a new
# pinned version is taken up), unless -DWENDRIFT_ZIG names another.
if(NOT WENDRIFT_ZIG)
  execute_process(COMMAND ${CMAKE_SOURCE_DIR}/tools/install-deps.sh --zig-path
                  OUTPUT_VARIABLE WENDRIFT_ZIG OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET
                  RESULT_VARIABLE missing)
  if(missing)
    message(WARNING "The Zig compiler is not installed: no ARM64 build "
                    "(tools/install-deps.sh installs it)")
    return()
  endif()
endif()

include(ExternalProject)
foreach(arch aarch64 x86_64)
  set(tree ${CMAKE_BINARY_DIR}/zig-${arch})
  ExternalProject_Add(wendrift_zig_${arch}
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${tree}
    PREFIX ${CMAKE_BINARY_DIR}/zig-steps
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/zig-windows.cmake
               -DWENDRIFT_ZIG=${WENDRIFT_ZIG} -DWENDRIFT_ZIG_TARGET=${arch}-windows-gnu
               -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${tree}/shellext/Wendrift.dll ${tree}/config/WendriftConfig.exe)
endforeach()
set(WENDRIFT_ZIG_X64_DIR ${CMAKE_BINARY_DIR}/zig-x86_64)

# The ARM64 programs signed as the x64 ones are, for the setup to ship.
set(arm64 ${CMAKE_BINARY_DIR}/zig-aarch64)
set(WENDRIFT_SIGNED_ARM64_DIR ${WENDRIFT_SIGNED_DIR}/arm64)
wendrift_signed_copy(wendrift_zig_aarch64 arm64/Wendrift.dll signed_arm64_library
                     ${arm64}/shellext/Wendrift.dll)
wendrift_signed_copy(wendrift_zig_aarch64 arm64/WendriftConfig.exe signed_arm64_config
                     ${arm64}/config/WendriftConfig.exe)
add_custom_target(wendrift_arm64_signed ALL DEPENDS ${signed_arm64_library} ${signed_arm64_config})
