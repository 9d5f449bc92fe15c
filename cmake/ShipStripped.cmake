# lw_ship_stripped(target): the program is shipped without its debug information and symbol
# table, which would double its size. They are kept beside it in <program>.debug, and the
# program names that file (.gnu_debuglink), so that a debugger reading a crash report finds them.
#
# Every shipped program also links platform/win32/RuntimeImports.cpp, which keeps the C++
# runtime from calling a function that the Windows 95 family has only as a stub.
function(lw_ship_stripped target)
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/platform/win32/RuntimeImports.cpp)
  if(NOT CMAKE_OBJCOPY)
    message(FATAL_ERROR "objcopy is needed to strip ${target}")
  endif()
  set(program $<TARGET_FILE:${target}>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${program} ${program}.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all ${program}
    COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=${program}.debug ${program}
    COMMENT "Stripping ${target}; its symbols stay in $<TARGET_FILE_NAME:${target}>.debug"
    VERBATIM)
endfunction()
