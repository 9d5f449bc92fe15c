# Compiles the guard's help into a .chm (run with cmake -P).
#
# The pages are kept in UTF-8, but the help viewer reads the contents, the index and the page
# titles in the code page of the help file's language (Polish: windows-1250), so every file is
# converted into a staging folder first and the pages' charset declaration is rewritten to
# match. The binary index is off in the project because chmcmd builds it from UTF-8 text and
# would garble the converted keywords; the viewer then reads the index file itself.
#
# Inputs: ICONV, CHMCMD (tools), SOURCE_DIR, STAGE (scratch folder), FILES (comma-separated,
# the project file first), OUTPUT (the .chm to write).

foreach(var ICONV CHMCMD SOURCE_DIR STAGE FILES OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "build-help.cmake: ${var} is not set")
  endif()
endforeach()

string(REPLACE "," ";" files "${FILES}")
list(GET files 0 project)
file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}")

set(utf8_meta "<meta charset=\"utf-8\">")
set(cp1250_meta "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">")
foreach(name IN LISTS files)
  # Without //TRANSLIT iconv refuses a character that windows-1250 lacks instead of dropping it.
  execute_process(COMMAND "${ICONV}" -f UTF-8 -t WINDOWS-1250 "${SOURCE_DIR}/${name}"
                  OUTPUT_FILE "${STAGE}/${name}" RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: cannot be converted to windows-1250: ${err}")
  endif()
  if(name MATCHES "\\.html$")
    file(READ "${STAGE}/${name}" page)
    string(FIND "${page}" "${utf8_meta}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${name}: the page must declare ${utf8_meta}")
    endif()
    string(REPLACE "${utf8_meta}" "${cp1250_meta}" page "${page}")
    file(WRITE "${STAGE}/${name}" "${page}")
  endif()
endforeach()

# chmcmd only warns about a file that is listed or linked but missing and still exits with 0;
# a help file with a dead link is a broken build here.
execute_process(COMMAND "${CHMCMD}" --verbosity 1 "${project}" WORKING_DIRECTORY "${STAGE}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR out MATCHES "Warning|Error")
  message(FATAL_ERROR "chmcmd failed on ${project} (exit ${rc}):\n${out}")
endif()

file(STRINGS "${STAGE}/${project}" compiled REGEX "^Compiled file=")
string(REPLACE "Compiled file=" "" compiled "${compiled}")
file(COPY_FILE "${STAGE}/${compiled}" "${OUTPUT}")
