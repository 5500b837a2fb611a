# Runs every micro-benchmark once on the smallest strips and checks what it
# reported, not its timing: each of the four stages ran on both strip shapes,
# without an error, for at least one iteration, over the glyphs the strip is
# drawn with (1,024 in the wide strip, 64 cells in the tall one).
# Called with -DBENCHMARKS=...

execute_process(
  COMMAND "${BENCHMARKS}" --benchmark_filter=glyphs:1024$ --benchmark_min_time=0.0001
          --benchmark_repetitions=1 --benchmark_format=json
  RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the benchmarks failed (${status}): ${errors}")
endif()

set(expected
  "BM_ReadPicture/tall:0/glyphs:1024=1024" "BM_ReadPicture/tall:1/glyphs:1024=64"
  "BM_CutStrip/tall:0/glyphs:1024=1024" "BM_CutStrip/tall:1/glyphs:1024=64"
  "BM_WriteFont/tall:0/glyphs:1024=1024" "BM_WriteFont/tall:1/glyphs:1024=64"
  "BM_Convert/tall:0/glyphs:1024=1024" "BM_Convert/tall:1/glyphs:1024=64")
string(JSON count LENGTH "${report}" benchmarks)
set(seen "")
math(EXPR last "${count} - 1")
foreach(index RANGE ${last})
  string(JSON name GET "${report}" benchmarks ${index} run_name)
  string(JSON kind GET "${report}" benchmarks ${index} run_type)
  if(NOT kind STREQUAL "iteration")
    continue()
  endif()
  string(JSON failed ERROR_VARIABLE no_error GET "${report}" benchmarks ${index} error_occurred)
  if(failed)
    string(JSON why GET "${report}" benchmarks ${index} error_message)
    message(FATAL_ERROR "${name} reported an error: ${why}")
  endif()
  string(JSON iterations GET "${report}" benchmarks ${index} iterations)
  string(JSON glyphs GET "${report}" benchmarks ${index} glyphs)
  string(REGEX REPLACE "\\.0+$" "" glyphs "${glyphs}")  # counters are printed as decimals
  if(iterations LESS 1)
    message(FATAL_ERROR "${name} did not run")
  endif()
  list(APPEND seen "${name}=${glyphs}")
endforeach()
list(SORT seen)
list(SORT expected)
if(NOT seen STREQUAL expected)
  message(FATAL_ERROR "expected the benchmarks ${expected}, found ${seen}")
endif()
message(STATUS "${count} benchmarks ran: ${seen}")
