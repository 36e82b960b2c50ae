# Unpacks the maps of Debian's openarena-081-maps into OUT/maps for the
# real-map tests; when the package (or unzip) is missing it says so and the
# tests skip.
execute_process(COMMAND dpkg -L openarena-081-maps OUTPUT_VARIABLE files RESULT_VARIABLE rc ERROR_QUIET)
string(REGEX MATCH "[^\n]*pak1-maps\\.pk3" pk3 "${files}")
find_program(UNZIP unzip)
if(NOT rc EQUAL 0 OR NOT pk3 OR NOT UNZIP)
  message(STATUS "openarena-081-maps or unzip missing: the real-map tests skip")
  return()
endif()
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${UNZIP} -o -q ${pk3} "maps/*.bsp" -d ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "unzip of ${pk3} failed (${rc})")
endif()
