# Shared by the cross build's package files: one INTERFACE target over a single include folder
# of the build machine, staged under the build tree so that no other host header is visible.
function(plurion_header_only_package target header_folder)
    if(TARGET ${target})
        return()
    endif()
    set(source /usr/include/${header_folder})
    if(NOT IS_DIRECTORY ${source})
        message(FATAL_ERROR "${target}: ${source} is missing; install the Debian -dev package")
    endif()
    set(staged ${CMAKE_BINARY_DIR}/header-only/${header_folder})
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/header-only)
    file(CREATE_LINK ${source} ${staged} SYMBOLIC)
    add_library(${target} INTERFACE IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/header-only)
endfunction()

# The version from the MAJOR, MINOR and PATCH defines in the first of `headers` that has them
# (libraries move these defines between releases).
function(plurion_header_version out define_prefix)
    set(lines "")
    foreach(header ${ARGN})
        if(EXISTS ${header} AND lines STREQUAL "")
            file(STRINGS ${header} lines REGEX "#define ${define_prefix}(MAJOR|MINOR|PATCH) ")
        endif()
    endforeach()
    foreach(part MAJOR MINOR PATCH)
        string(REGEX MATCH "${define_prefix}${part} +([0-9]+)" _ "${lines}")
        set(${part} ${CMAKE_MATCH_1})
    endforeach()
    set(${out} "${MAJOR}.${MINOR}.${PATCH}" PARENT_SCOPE)
endfunction()
