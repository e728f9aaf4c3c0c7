# A manual page in section 1 for every installed program, made at build time by help2man from the
# program's own --help and --version; docs/man/NAME.h2m adds what --help does not say (the name
# line, examples, files). Without help2man the pages are left out, with a warning, unless
# REGISTRO_MANPAGES is ON (the package preset), where its absence stops the configuration.
set(REGISTRO_MANPAGES AUTO CACHE STRING
    "Manual pages from the programs' --help with help2man: AUTO (when found), ON (required), OFF")
set_property(CACHE REGISTRO_MANPAGES PROPERTY STRINGS AUTO ON OFF)
set(REGISTRO_MANPAGE_NAMES "")
if(REGISTRO_MANPAGES STREQUAL "OFF")
    return()
endif()
find_program(HELP2MAN help2man)
if(NOT HELP2MAN)
    if(REGISTRO_MANPAGES STREQUAL "ON")
        message(FATAL_ERROR "help2man not found: it makes the manual pages "
            "(apt-get install help2man, or configure with -DREGISTRO_MANPAGES=OFF)")
    endif()
    message(WARNING "help2man not found: the build and the install have no manual pages "
        "(apt-get install help2man; -DREGISTRO_MANPAGES=OFF silences this)")
    return()
endif()

set(REGISTRO_MANDIR ${PROJECT_BINARY_DIR}/packaging/man1)
set(pages "")
# registro_manpage(NAME PROGRAM DEPENDS...): NAME.1.gz from the program at path PROGRAM, which
# it runs under its installed name NAME: its messages carry the name it was started under.
function(registro_manpage name program)
    set(page ${REGISTRO_MANDIR}/${name}.1)
    set(extra ${PROJECT_SOURCE_DIR}/docs/man/${name}.h2m)
    add_custom_command(OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E create_symlink ${program} ${REGISTRO_MANDIR}/${name}
        COMMAND ${HELP2MAN} --no-info --locale=C.UTF-8 --section=1 --include=${extra}
            --output=${page} ${REGISTRO_MANDIR}/${name}
        COMMAND ${CMAKE_COMMAND} -E rm ${REGISTRO_MANDIR}/${name}
        COMMAND gzip -9nf ${page}
        DEPENDS ${ARGN} ${extra}
        COMMENT "Manual page ${name}(1)"
        VERBATIM)
    set(pages ${pages} ${page}.gz PARENT_SCOPE)
    set(REGISTRO_MANPAGE_NAMES ${REGISTRO_MANPAGE_NAMES} ${name} PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY ${REGISTRO_MANDIR})
foreach(program IN ITEMS registro ventas probeRunner ioPrimer)
    registro_manpage(${program} $<TARGET_FILE:${program}> ${program})
endforeach()
registro_manpage(exportar-sueldos $<TARGET_FILE:main> main)
registro_manpage(check-list ${REGISTRO_CHECK_LIST} ${REGISTRO_CHECK_LIST})

add_custom_target(manpages ALL DEPENDS ${pages})
install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
