# Windows packaging of the effect module: the two exports through a .def file, the static
# runtime, and the PiPL resource compiled from the generator's bytes.

set(PLURION_PIPL_GENERATOR "" CACHE FILEPATH
    "plurion_pipl_gen from a native build (cross builds only; see scripts/windows-check.sh)")

function(plurion_windows_module target)
    if(CMAKE_CROSSCOMPILING)
        if(NOT PLURION_PIPL_GENERATOR OR NOT EXISTS "${PLURION_PIPL_GENERATOR}")
            message(FATAL_ERROR "The Windows cross build needs PLURION_PIPL_GENERATOR: the "
                "plurion_pipl_gen program of a native build (got '${PLURION_PIPL_GENERATOR}'). "
                "scripts/windows-check.sh builds one and passes it.")
        endif()
        set(generator ${PLURION_PIPL_GENERATOR})
    else()
        set(generator plurion_pipl_gen)
    endif()

    set(resource_dir ${CMAKE_CURRENT_BINARY_DIR}/resources)
    set(pipl ${resource_dir}/Plurion.pipl)
    add_custom_command(OUTPUT ${pipl}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${resource_dir}
        COMMAND ${generator} ${pipl}
        DEPENDS ${generator}
        COMMENT "Generating the PiPL resource")

    set(rc ${CMAKE_CURRENT_SOURCE_DIR}/entry/Plurion.rc)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${pipl})
    target_sources(${target} PRIVATE ${rc} ${CMAKE_CURRENT_SOURCE_DIR}/entry/Plurion.def)
    target_include_directories(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:${resource_dir}>)

    if(MINGW)
        # Nothing but the .def file's names may leave the module.
        target_link_options(${target} PRIVATE -Wl,--exclude-all-symbols)
    endif()
endfunction()
