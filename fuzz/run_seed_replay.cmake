# Runs each fuzz target's replay build over its seed corpus (and the folders
# FUZZ_EXTRA_SEEDS_<name> names); fails when a target is missing, has no
# seeds, or stops on an input.
foreach(name IN LISTS FUZZ_TARGETS)
  set(exe ${FUZZ_BIN_DIR}/fuzz_${name})
  set(corpus ${FUZZ_CORPUS_DIR}/${name})
  if(NOT EXISTS ${exe})
    message(FATAL_ERROR "fuzz_${name} is not built")
  endif()
  file(GLOB seeds ${corpus}/*)
  if(NOT seeds)
    message(FATAL_ERROR "no seeds in ${corpus}")
  endif()
  execute_process(COMMAND ${exe} ${corpus} ${FUZZ_EXTRA_SEEDS_${name}} RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "fuzz_${name} failed on its seeds (${rc}):\n${err}")
  endif()
  message(STATUS "fuzz_${name}: ${err}")
endforeach()
