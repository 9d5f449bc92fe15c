# lw_build_for_size(LIBRARIES ... PROGRAMS ...): what we ship is downloaded over a modem, so the
# shipped programs and every library they link are compiled for size, each function and object
# in a section of its own, and the linker drops the sections nothing refers to. The test
# programs link the same library code; their own units keep the build type's flags.
#
# Each program also gets a link map beside it (<program>.map): what is linked, and why, when a
# program grows. And it links the runtime's terminate handler of its own (QuietTerminate.cpp).
function(lw_build_for_size)
  cmake_parse_arguments(S "" "" "LIBRARIES;PROGRAMS" ${ARGN})
  foreach(target IN LISTS S_LIBRARIES S_PROGRAMS)
    target_compile_options(${target} PRIVATE -Os -ffunction-sections -fdata-sections)
  endforeach()
  foreach(program IN LISTS S_PROGRAMS)
    target_link_options(${program} PRIVATE -Wl,--gc-sections
                        "-Wl,-Map=$<TARGET_FILE:${program}>.map")
    target_sources(${program} PRIVATE ${CMAKE_SOURCE_DIR}/platform/win32/QuietTerminate.cpp)
  endforeach()
endfunction()
