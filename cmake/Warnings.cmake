# Project-wide warning flags; BRICKHAVEN_WERROR turns them into errors (on in CI).
add_library(brickhaven_warnings INTERFACE)
target_compile_options(brickhaven_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wnon-virtual-dtor
  $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local> $<$<CXX_COMPILER_ID:Clang>:-Wshadow-uncaptured-local> -Wcast-align
  -Woverloaded-virtual -Wimplicit-fallthrough)
if(BRICKHAVEN_WERROR)
  target_compile_options(brickhaven_warnings INTERFACE -Werror)
endif()
