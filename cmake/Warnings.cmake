# Warnings are errors everywhere; each target opts in through plurion_warnings().
add_library(plurion_warnings INTERFACE)
if(MSVC)
    target_compile_options(plurion_warnings INTERFACE /W4 /WX)
else()
    target_compile_options(plurion_warnings INTERFACE
        -Wall -Wextra -Wpedantic -Werror -Wshadow -Wcast-align -Wformat=2
        -Wimplicit-fallthrough $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>)
endif()
