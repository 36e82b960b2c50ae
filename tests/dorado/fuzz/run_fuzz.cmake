# Runs the map parser's fuzz target for SECONDS seconds on a fresh corpus
# (CORPUS, emptied before and removed after: mutated copies of the real maps
# would fill the build folder run after run), seeded with the folders SEEDS
# and MAPS. An input it fails on stays in CRASHES and is named here.
#   cmake -DFUZZER=... -DSECONDS=60 -DCORPUS=... -DSEEDS=... -DMAPS=... -DCRASHES=... -P run_fuzz.cmake
file(REMOVE_RECURSE ${CORPUS})
file(MAKE_DIRECTORY ${CORPUS} ${CRASHES})
file(GLOB before ${CRASHES}/*)
set(seeds)
foreach(dir ${SEEDS} ${MAPS})
  if(IS_DIRECTORY ${dir})
    list(APPEND seeds ${dir})
  else()
    message(STATUS "no seeds in ${dir}")
  endif()
endforeach()
# The memory limit covers the parser and libFuzzer's copy of the corpus;
# the largest real map is under 8 MB, and each must be read whole.
execute_process(COMMAND ${FUZZER} -max_total_time=${SECONDS} -rss_limit_mb=2048 -max_len=8388608 -timeout=30
                        -print_final_stats=1 -artifact_prefix=${CRASHES}/ ${CORPUS} ${seeds}
                RESULT_VARIABLE rc)
file(REMOVE_RECURSE ${CORPUS})
if(NOT rc EQUAL 0)
  file(GLOB after ${CRASHES}/*)
  list(REMOVE_ITEM after ${before})
  list(JOIN after "\n  " kept)
  message(FATAL_ERROR "fuzz_bsp failed (${rc}) on the input kept in:\n  ${kept}\n"
                      "Make it a named fixture of tests/dorado/test_BspBadInput.cpp, then mend the parser.")
endif()
