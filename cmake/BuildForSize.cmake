# lw_build_for_size(LIBRARIES ... PROGRAMS ...): what we ship is downloaded over a modem, so the
# shipped programs and every library they link are compiled for size, each function and object
# in a section of its own, and the linker drops the sections nothing refers to. The test
# programs link the same library code; their own units keep the build type's flags.
#
# The link keeps the runtime's unwind records for the functions linked only (see
# scripts/link-keeping-used-unwind.sh), so that --gc-sections can drop the rest of them; it
# leaves a link map beside each program (<program>.map): what is linked, and why, when a program
# grows. Each program links the runtime's terminate handler of its own (QuietTerminate.cpp).
function(lw_build_for_size)
  cmake_parse_arguments(S "" "" "LIBRARIES;PROGRAMS" ${ARGN})
  foreach(target IN LISTS S_LIBRARIES S_PROGRAMS)
    target_compile_options(${target} PRIVATE -Os -ffunction-sections -fdata-sections)
  endforeach()
  foreach(program IN LISTS S_PROGRAMS)
    target_link_options(${program} PRIVATE -Wl,--gc-sections)
    set_property(TARGET ${program} PROPERTY RULE_LAUNCH_LINK
                 "bash ${CMAKE_SOURCE_DIR}/scripts/link-keeping-used-unwind.sh")
    target_sources(${program} PRIVATE ${CMAKE_SOURCE_DIR}/platform/win32/QuietTerminate.cpp)
  endforeach()
endfunction()
