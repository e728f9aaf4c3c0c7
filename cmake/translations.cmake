# The checker's own words in other languages: po/LANGUAGE.po, written by hand, made into a catalog
# by msgfmt in the build tree's share/locale (where the tests point TEXTDOMAINDIR, and where
# tools/check-list.sh looks in a source tree) and installed to LOCALEDIR. The template a new
# language starts from, po/registro_personal.pot, is made again from the sources with
# `cmake --build build --target pot`. Without gettext's tools the checker speaks English only.
set(REGISTRO_LANGUAGES es)
# The sources whose words go through tr() or the page's word() (C++), or say (check-list).
set(REGISTRO_TRANSLATED_CXX apps/checkClass/checkClass.cpp apps/checkClass/classOptions.cpp
    apps/checkClass/htmlReport.cpp apps/checkClass/pageSummary.cpp testing/runner/listJudge.cpp
    common/usage.cpp testing/runner/runnerOptions.cpp testing/runner/probeRunner.cpp)
set(REGISTRO_TRANSLATED_SHELL tools/check-list.sh)

find_program(MSGFMT msgfmt)
if(NOT MSGFMT)
    message(WARNING "msgfmt not found: the checker speaks English only (apt-get install gettext)")
    add_custom_target(translations)
    return()
endif()
set(catalogs "")
foreach(language IN LISTS REGISTRO_LANGUAGES)
    set(folder ${PROJECT_BINARY_DIR}/share/locale/${language}/LC_MESSAGES)
    set(po ${PROJECT_SOURCE_DIR}/po/${language}.po)
    add_custom_command(OUTPUT ${folder}/registro_personal.mo
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND ${MSGFMT} --check -o ${folder}/registro_personal.mo ${po}
        DEPENDS ${po}
        COMMENT "Message catalog ${language}"
        VERBATIM)
    list(APPEND catalogs ${folder}/registro_personal.mo)
    install(FILES ${folder}/registro_personal.mo
        DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/${language}/LC_MESSAGES)
endforeach()
add_custom_target(translations ALL DEPENDS ${catalogs})

find_program(XGETTEXT xgettext)
if(XGETTEXT)
    set(pot ${PROJECT_SOURCE_DIR}/po/registro_personal.pot)
    set(common --from-code=UTF-8 --package-name=registro_personal
        --package-version=${PROJECT_VERSION} --sort-by-file --output=${pot})
    add_custom_target(pot
        COMMAND ${XGETTEXT} ${common} --language=C++ --keyword=tr --keyword=word --keyword=words --keyword=trLater
            ${REGISTRO_TRANSLATED_CXX}
        COMMAND ${XGETTEXT} ${common} --join-existing --language=Shell --keyword=say
            ${REGISTRO_TRANSLATED_SHELL}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        COMMENT "Message template po/registro_personal.pot"
        VERBATIM)
endif()
