# Writes a manual page from a program's --help text:
#   cmake -DPROGRAM=<path> -DNAME=<name> -DSUMMARY=<one line> -DVERSION=<v> -DOUTPUT=<file> -P help_to_man.cmake
# The help's first block (the "Usage:" lines) becomes SYNOPSIS, the text up
# to the first heading line ("Options:", "Exit status:" ...) DESCRIPTION,
# and each heading a section of its own. Text is kept as laid out (no
# filling), so the page reads as the help does.
foreach(var PROGRAM NAME SUMMARY VERSION OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "help_to_man.cmake: ${var} is not set")
  endif()
endforeach()

execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "help_to_man.cmake: ${PROGRAM} --help failed (${status})")
endif()

# roff: backslashes first, then hyphens as minus signs, then a leading
# dot or apostrophe (a request) is protected.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")

string(TOUPPER "${NAME}" title)
string(REPLACE "-" "\\-" name_roff "${NAME}")
set(page ".TH ${title} 1 \"\" \"${NAME} ${VERSION}\" \"User Commands\"\n")
string(APPEND page ".SH NAME\n${name_roff} \\- ${SUMMARY}\n")

# Brackets and semicolons would upset CMake's lists: carried as
# placeholders while the text is split into lines.
string(REPLACE "[" "<lb>" help "${help}")
string(REPLACE "]" "<rb>" help "${help}")
string(REPLACE ";" "<sc>" help "${help}")
string(REPLACE "\n" ";" lines "${help}")
set(section "SYNOPSIS")
string(APPEND page ".SH SYNOPSIS\n.nf\n")
set(blank_seen FALSE)
foreach(line IN LISTS lines)
  if(section STREQUAL "SYNOPSIS")
    if(line STREQUAL "")
      set(section "DESCRIPTION")
      string(APPEND page ".fi\n.SH DESCRIPTION\n.nf\n")
      continue()
    endif()
    string(REGEX REPLACE "^(Usage: +| +)" "" line "${line}")
  elseif(line MATCHES "^([A-Z][A-Za-z ]*):$")
    string(TOUPPER "${CMAKE_MATCH_1}" heading)
    string(APPEND page ".fi\n.SH ${heading}\n.nf\n")
    continue()
  endif()
  string(APPEND page "${line}\n")
endforeach()
string(APPEND page ".fi\n")
string(REPLACE "<lb>" "[" page "${page}")
string(REPLACE "<rb>" "]" page "${page}")
string(REPLACE "<sc>" ";" page "${page}")
file(WRITE ${OUTPUT} "${page}")
