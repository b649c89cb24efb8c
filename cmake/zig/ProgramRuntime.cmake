# What the Zig build links into both programs besides what zig links by itself.
#
# LLVM's unwinder, which C++ exceptions need, compiled from zig's own copy of its sources. zig
# 0.11 compiles its copy with every unwinder function marked for export, so a DLL or program
# linked with it exports _Unwind_* and unw_* beside its own functions, whatever its export list
# says. Built here as LLVM's own build makes a static unwinder (_LIBUNWIND_HIDE_SYMBOLS), and
# linked as objects, so that nothing is taken from zig's copy: a symbol missing here would be
# taken from there and fail the link as a duplicate.
enable_language(ASM)
get_filename_component(zig_home ${WENDRIFT_ZIG} DIRECTORY)
set(unwinder ${zig_home}/lib/libunwind)
if(NOT EXISTS ${unwinder}/src/libunwind.cpp)
  message(FATAL_ERROR "No unwinder sources in ${unwinder}: is ${WENDRIFT_ZIG} a whole zig release?")
endif()
add_library(wendrift_unwinder OBJECT
  ${unwinder}/src/libunwind.cpp
  ${unwinder}/src/Unwind-seh.cpp
  ${unwinder}/src/UnwindLevel1.c
  ${unwinder}/src/UnwindLevel1-gcc-ext.c
  ${unwinder}/src/UnwindRegistersRestore.S
  ${unwinder}/src/UnwindRegistersSave.S
)
target_include_directories(wendrift_unwinder PRIVATE ${unwinder}/include)
target_compile_definitions(wendrift_unwinder PRIVATE _LIBUNWIND_HIDE_SYMBOLS _LIBUNWIND_IS_NATIVE_ONLY)
# Its own code, not ours: its warnings are not ours to mend.
target_compile_options(wendrift_unwinder PRIVATE
  -funwind-tables -fvisibility=hidden -w
  $<$<COMPILE_LANGUAGE:C>:-std=c99 -fexceptions>
  $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>)
target_link_libraries(Wendrift PRIVATE wendrift_unwinder)
target_link_libraries(WendriftConfig PRIVATE wendrift_unwinder)

# zig 0.11 links only mingw-w64's narrow start-up code and takes -municode without acting on it.
target_sources(WendriftConfig PRIVATE ${CMAKE_CURRENT_LIST_DIR}/WideEntry.c)
# It also ignores -mwindows: the configuration program would start as a console program.
target_link_options(WendriftConfig PRIVATE -Wl,--subsystem,windows)
