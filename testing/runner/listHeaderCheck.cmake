# check_list_headers(SOURCES): refuses, at configure time, a LinkedList.h beside the list's sources
# that lays out Node or LinkedList otherwise than inc/LinkedList.h: the list would be built against
# it and the cases against inc/LinkedList.h. Node must match exactly (the cases allocate Nodes
# themselves); LinkedList must begin with pFirstNode and size, and may go on as the list likes.
#
# Each rule is a small translation unit that includes the header and holds only where the rule
# does (an array of negative size otherwise), compiled in the language of the list's sources: the
# compiler itself judges the types, typedefs and padding. The rules are tried in field order, so
# the message names the first field that differs. Editing the header, or adding one, reconfigures.

set(LIST_HEADER_RULES
    "the type `Node`|sizeof(Node) > 0"
    "the first field of `Node`, `void* pElement`|offsetof(Node, pElement) == 0 && SAME_TYPE(FIELD_TYPE(Node, pElement), void*)"
    "the second field of `Node`, `struct Node* pNextNode`|offsetof(Node, pNextNode) == sizeof(void*) && SAME_TYPE(FIELD_TYPE(Node, pNextNode), Node*)"
    "the end of `Node` after `pNextNode`|sizeof(Node) == 2 * sizeof(void*)"
    "the type `LinkedList`|sizeof(LinkedList) > 0"
    "the first field of `LinkedList`, `Node* pFirstNode`|offsetof(LinkedList, pFirstNode) == 0 && SAME_TYPE(FIELD_TYPE(LinkedList, pFirstNode), Node*)"
    "the second field of `LinkedList`, `int size`|offsetof(LinkedList, size) == sizeof(Node*) && SAME_TYPE(FIELD_TYPE(LinkedList, size), int)")

# True in ${result} when the header compiles in language (C or CXX) with the condition holding.
function(list_header_holds result header language condition)
    set(unit "#include \"${header}\"
#include <stddef.h>
#ifdef __cplusplus
#include <type_traits>
#define SAME_TYPE(a, b) std::is_same<a, b>::value
#define FIELD_TYPE(type, field) decltype(static_cast<type*>(nullptr)->field)
#else
#define SAME_TYPE(a, b) __builtin_types_compatible_p(a, b)
#define FIELD_TYPE(type, field) __typeof__(((type*)0)->field)
#endif
extern int layoutHolds[(${condition}) ? 1 : -1];
")
    set(extension c)
    set(standard -std=c11)
    if(language STREQUAL "CXX")
        set(extension cpp)
        set(standard -std=c++20)
    endif()
    set(file ${CMAKE_BINARY_DIR}/listHeaderCheck/rule.${extension})
    file(WRITE ${file} "${unit}")
    execute_process(COMMAND ${CMAKE_${language}_COMPILER} ${standard} -fsyntax-only ${file}
        RESULT_VARIABLE failed OUTPUT_QUIET ERROR_QUIET)
    if(failed)
        set(${result} FALSE PARENT_SCOPE)
    else()
        set(${result} TRUE PARENT_SCOPE)
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
        set(all "")
        foreach(rule IN LISTS LIST_HEADER_RULES)
            string(REGEX REPLACE "^[^|]*\\|" "" condition "${rule}")
            string(APPEND all "(${condition}) && ")
        endforeach()
        list_header_holds(holds ${header} ${language} "${all}1")
        if(holds)
            continue()
        endif()
        list_header_holds(compiles ${header} ${language} "1")
        if(NOT compiles)
            message(FATAL_ERROR "${header} does not compile on its own as ${language}")
        endif()
        foreach(rule IN LISTS LIST_HEADER_RULES)
            string(REGEX REPLACE "\\|.*" "" what "${rule}")
            string(REGEX REPLACE "^[^|]*\\|" "" condition "${rule}")
            list_header_holds(holds ${header} ${language} "${condition}")
            if(NOT holds)
                message(FATAL_ERROR "${header} lays out the list differently from "
                    "inc/LinkedList.h, which the cases are built with: it differs at ${what}.")
            endif()
        endforeach()
    endforeach()
endfunction()
