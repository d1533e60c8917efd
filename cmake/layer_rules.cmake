# The layers' include rules, checked whenever the build is configured (and
# by the test layer_rules, which runs this file as a script):
#  - nothing under formats/, analysis/, report/ or batch/ includes a file
#    of the worksheet;
#  - no plain layer includes the windowing toolkit.
# A file that breaks a rule stops the configuration, naming the file and
# the line.
if(NOT DEFINED QUORV_ROOT)
  set(QUORV_ROOT "${CMAKE_CURRENT_LIST_DIR}/..")
endif()

function(quorv_forbid_includes pattern what)
  set(found "")
  foreach(folder ${ARGN})
    file(GLOB_RECURSE sources "${QUORV_ROOT}/${folder}/*.h" "${QUORV_ROOT}/${folder}/*.cpp")
    foreach(source ${sources})
      file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*${pattern}")
      foreach(line ${lines})
        file(RELATIVE_PATH name "${QUORV_ROOT}" "${source}")
        string(APPEND found "\n  ${name}: ${line}")
      endforeach()
    endforeach()
  endforeach()
  if(found)
    message(FATAL_ERROR "Layer rule broken: ${what}:${found}")
  endif()
endfunction()

quorv_forbid_includes("\"worksheet/" "these folders include nothing of the worksheet" formats analysis report batch)
quorv_forbid_includes("<Q" "the plain layers include no Qt" core distrib matrix engine validation formats analysis
                      report worksheet/logic batch web)
