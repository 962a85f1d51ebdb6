option(LEDGE_WERROR "Treat compiler warnings as errors" OFF)

function(ledge_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
    $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local> $<$<BOOL:${LEDGE_WERROR}>:-Werror>)
endfunction()
