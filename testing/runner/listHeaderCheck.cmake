# check_list_headers(SOURCES): refuses, at configure time, a LinkedList.h beside the list's sources
# that lays out Node or LinkedList otherwise than inc/LinkedList.h: the list would be built against
# it and the cases against inc/LinkedList.h. The rules, and what each checks, are those of
# testing/listLayout.c, which tools/check-list.sh applies the same way: every rule at once, and
# when they do not all hold, one by one in field order, so that the message names the first field
# that differs. Each is compiled in the language of the list's sources, so that the compiler
# itself judges the types, typedefs and padding. Editing the header, or adding one, reconfigures.

cmake_path(SET LIST_LAYOUT_CHECK NORMALIZE ${CMAKE_CURRENT_LIST_DIR}/../listLayout.c)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${LIST_LAYOUT_CHECK})
file(STRINGS ${LIST_LAYOUT_CHECK} LIST_LAYOUT_RULES REGEX "^/\\* rule [0-9]+: ")

# True in ${result} when the header compiles in language (C or CXX) with rule number rule holding
# (0: every rule; past the last: the header alone).
function(list_header_holds result header language rule)
    if(language STREQUAL "CXX")
        set(options -x c++ -std=c++20)
    else()
        set(options -x c -std=c11)
    endif()
    execute_process(COMMAND ${CMAKE_${language}_COMPILER} ${options} -fsyntax-only
            -DLAYOUT_RULE=${rule} -include ${header} ${LIST_LAYOUT_CHECK}
        RESULT_VARIABLE failed OUTPUT_QUIET ERROR_QUIET)
    if(failed)
        set(${result} FALSE PARENT_SCOPE)
    else()
        set(${result} TRUE PARENT_SCOPE)
    endif()
endfunction()

# Refuses header, as its sources' language reads it, unless every rule holds.
function(check_list_header header language)
    list_header_holds(holds ${header} ${language} 0)
    if(holds)
        return()
    endif()
    list(LENGTH LIST_LAYOUT_RULES count)
    math(EXPR alone "${count} + 1")
    list_header_holds(compiles ${header} ${language} ${alone})
    if(NOT compiles)
        message(FATAL_ERROR "${header} does not compile on its own as ${language}")
    endif()
    foreach(line IN LISTS LIST_LAYOUT_RULES)
        string(REGEX REPLACE "^/\\* rule ([0-9]+): (.*) \\*/$" "\\1;\\2" rule "${line}")
        list(GET rule 0 number)
        list(GET rule 1 what)
        list_header_holds(holds ${header} ${language} ${number})
        if(NOT holds)
            message(FATAL_ERROR "${header} lays out the list differently from "
                "inc/LinkedList.h, which the cases are built with: it differs at ${what}.")
        endif()
    endforeach()
endfunction()

function(check_list_headers sources)
    set(folders "")
    foreach(source IN LISTS sources)
        cmake_path(GET source PARENT_PATH folder)
        list(APPEND folders ${folder})
    endforeach()
    list(REMOVE_DUPLICATES folders)
    foreach(folder IN LISTS folders)
        # A header added later must be seen too: the folder changes when a file is added.
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${folder})
        set(header ${folder}/LinkedList.h)
        if(folder STREQUAL "${PROJECT_SOURCE_DIR}/inc" OR NOT EXISTS ${header})
            continue()
        endif()
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${header})
        set(language CXX)
        foreach(source IN LISTS sources)
            # A path, not a pattern: folders such as c++ hold what a regular expression misreads.
            cmake_path(IS_PREFIX folder "${source}" inFolder)
            if(inFolder AND source MATCHES "\\.c$")
                set(language C)
            endif()
        endforeach()
        check_list_header(${header} ${language})
    endforeach()
endfunction()
