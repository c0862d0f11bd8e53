# Project-wide warning flags; BRICKHAVEN_WERROR turns them into errors (on in CI).
add_library(brickhaven_warnings INTERFACE)
target_compile_options(brickhaven_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual
  -Wimplicit-fallthrough)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(brickhaven_warnings INTERFACE -Wshadow=local)
else()
  target_compile_options(brickhaven_warnings INTERFACE -Wshadow-uncaptured-local)
endif()
if(BRICKHAVEN_WERROR)
  target_compile_options(brickhaven_warnings INTERFACE -Werror)
endif()
