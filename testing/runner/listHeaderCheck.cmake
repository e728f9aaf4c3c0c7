# check_list_headers(SOURCES): refuses, at configure time, a LinkedList.h beside the list's sources
# that lays out Node or LinkedList otherwise than inc/LinkedList.h: the list would be built against
# it and the cases against inc/LinkedList.h. The rules, and what each checks, are those of
# testing/listLayout.c, applied by testing/checkLayout.sh, which tools/check-list.sh runs too.
# Editing the header, or adding one, reconfigures.

cmake_path(SET LIST_LAYOUT_CHECK NORMALIZE ${CMAKE_CURRENT_LIST_DIR}/../listLayout.c)
cmake_path(SET LIST_LAYOUT_DRIVER NORMALIZE ${CMAKE_CURRENT_LIST_DIR}/../checkLayout.sh)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${LIST_LAYOUT_CHECK} ${LIST_LAYOUT_DRIVER})

# Refuses header, as its sources' language reads it, with the driver check-list uses too.
function(check_list_header header language)
    if(language STREQUAL "CXX")
        set(options -x c++ -std=c++20)
    else()
        set(options -x c -std=c11)
    endif()
    execute_process(COMMAND bash ${LIST_LAYOUT_DRIVER} ${header} ${language} ${LIST_LAYOUT_CHECK}
            ${CMAKE_${language}_COMPILER} ${options}
        RESULT_VARIABLE failed OUTPUT_VARIABLE why OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(failed)
        message(FATAL_ERROR "${why}")
    endif()
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
