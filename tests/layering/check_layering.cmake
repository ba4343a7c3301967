# The layering of the sources, checked on every test run:
#   - every quoted include names a file from the repository root;
#   - each folder includes only the folders it may (the plug-in never the host, the
#     operating-system stand-ins never the host's interface, the host libraries only
#     those below them);
#   - the console sender links no Qt, and the plug-in module holds none of the host's code.
# Run as: cmake -DSOURCE_DIR=... -DSENDER=... -DPLUGIN=... -P check_layering.cmake

# Folder (most specific first) and the folders its sources may include (none listed: no
# limit). The plug-in's unit tests and benchmarks run it over the host's libraries.
set(rules
  "sdk/|sdk/"
  "platform/|platform/"
  "plugin/settings/|platform/ plugin/settings/"
  "plugin/tests/|"
  "plugin/bench/|"
  "plugin/|sdk/ platform/ plugin/"
  "config/|platform/ plugin/settings/ config/"
  "sender/|platform/ plugin/settings/ sender/"
  "host/document/|sdk/ host/document/"
  "host/svg/|sdk/ platform/ host/document/ host/svg/"
  "host/text/|sdk/ host/text/"
  "host/unite/|sdk/ host/unite/"
  "host/session/|sdk/ host/document/ host/session/"
  "host/view/|sdk/ host/document/ host/session/ host/view/"
  "host/suites/|sdk/ platform/ host/document/ host/session/ host/view/ host/text/ host/unite/ host/suites/"
  "host/app/|sdk/ platform/ host/"
  "host/tests/|sdk/ platform/ host/ tests/support/"
)

set(failures "")
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/sdk/* ${SOURCE_DIR}/platform/* ${SOURCE_DIR}/plugin/* ${SOURCE_DIR}/config/*
  ${SOURCE_DIR}/sender/* ${SOURCE_DIR}/host/* ${SOURCE_DIR}/tests/* ${SOURCE_DIR}/tools/*)
list(FILTER sources INCLUDE REGEX "\\.(cpp|h|inc)$")
foreach(source ${sources})
  file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
  set(allowed "")
  set(ruled FALSE)
  foreach(rule ${rules})
    string(REPLACE "|" ";" parts "${rule}")
    list(GET parts 0 folder)
    string(FIND "${source}" "${folder}" at)
    if(at EQUAL 0)
      list(LENGTH parts count)
      if(count GREATER 1)
        list(GET parts 1 allowed)
        separate_arguments(allowed)
      endif()
      set(ruled TRUE)
      break()
    endif()
  endforeach()
  # Tests beside what they test also take the shared test support.
  if(allowed AND source MATCHES "/tests/")
    list(APPEND allowed tests/support/)
  endif()
  foreach(line ${lines})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"]+)\".*" "\\1" included "${line}")
    if(NOT EXISTS ${SOURCE_DIR}/${included})
      string(APPEND failures "${source}: \"${included}\" is not a path from the repository root\n")
      continue()
    endif()
    if(NOT ruled OR allowed STREQUAL "")
      continue()
    endif()
    set(permitted FALSE)
    foreach(prefix ${allowed})
      string(FIND "${included}" "${prefix}" at)
      if(at EQUAL 0)
        set(permitted TRUE)
      endif()
    endforeach()
    if(NOT permitted)
      string(APPEND failures "${source}: may not include \"${included}\"\n")
    endif()
  endforeach()
endforeach()

# Whatever the sources say, the built sender must not load Qt, nor the module carry the host.
if(SENDER)
  execute_process(COMMAND readelf -d ${SENDER} OUTPUT_VARIABLE needed RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    string(APPEND failures "readelf could not read ${SENDER}\n")
  elseif(needed MATCHES "libQt")
    string(APPEND failures "TRVXSender links Qt\n")
  endif()
endif()
if(PLUGIN)
  execute_process(COMMAND nm -C --defined-only ${PLUGIN} OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    string(APPEND failures "nm could not read ${PLUGIN}\n")
  elseif(symbols MATCHES " host::")
    string(APPEND failures "TRAVEX-Pro.aip holds code of the host\n")
  endif()
endif()

if(failures)
  message(FATAL_ERROR "layering broken:\n${failures}")
endif()
list(LENGTH sources count)
message(STATUS "layering holds over ${count} files")
