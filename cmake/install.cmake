# What `cmake --install BUILD --prefix P` puts under P: the programs in bin/ (the salary export as
# exportar-sueldos, check-list from tools/), their manual pages, the libraries in lib/ with their
# headers in include/registro_personal/, a CMake package (find_package(RegistroPersonal)) and a
# pkg-config file for each library. cpack makes a Debian package of the same files.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(REGISTRO_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/registro_personal)
# The Debian package: its name, and the prefix it installs under. Debian keeps a package's
# documents (and its copyright file) in a folder of the package's name, hyphen and all.
set(REGISTRO_PACKAGE_NAME registro-personal)
set(REGISTRO_PACKAGE_PREFIX /usr)
set(CMAKE_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${REGISTRO_PACKAGE_NAME})
# The header a list implements, as the package's users have it: check-list's help names it.
set(REGISTRO_HEADER ${REGISTRO_PACKAGE_PREFIX}/${REGISTRO_INCLUDEDIR}/LinkedList.h)
set(REGISTRO_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/RegistroPersonal)

# The programs. The build tree keeps the salary export's deliverable name, main; on a PATH it
# says what it does.
install(TARGETS registro ventas probeRunner ioPrimer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS $<TARGET_FILE:main> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME exportar-sueldos)

# check-list as installed: the script with the project's version written in.
set(REGISTRO_CHECK_LIST ${PROJECT_BINARY_DIR}/packaging/check-list)
configure_file(${PROJECT_SOURCE_DIR}/tools/check-list.sh ${REGISTRO_CHECK_LIST} @ONLY)
install(PROGRAMS ${REGISTRO_CHECK_LIST} DESTINATION ${CMAKE_INSTALL_BINDIR})

include(${CMAKE_CURRENT_LIST_DIR}/manpages.cmake)

# The documents, as the package's users read them, with the package's copyright file.
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
file(GLOB REGISTRO_DOCS ${PROJECT_SOURCE_DIR}/docs/*.md)
install(FILES ${REGISTRO_DOCS} ${PROJECT_SOURCE_DIR}/cmake/copyright
    DESTINATION ${CMAKE_INSTALL_DOCDIR})
include(${CMAKE_CURRENT_LIST_DIR}/translations.cmake)

# The libraries, each with a pkg-config file that requires what it links against.
set(REGISTRO_LIBRARIES inq_gets staffTable informes LinkedList Revelados)
set(REGISTRO_DESCRIPTION_inq_gets "Console line readers, prompts and character-class validators")
set(REGISTRO_DESCRIPTION_staffTable "Fixed table of employees: add, find, list, remove, order")
set(REGISTRO_DESCRIPTION_informes "Report menu and salary statistics over the employee table")
set(REGISTRO_DESCRIPTION_LinkedList "Generic singly linked list of void* elements")
set(REGISTRO_DESCRIPTION_Revelados "Photo-development sale record and its criteria callbacks")

install(TARGETS ${REGISTRO_LIBRARIES} EXPORT RegistroPersonalTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    INCLUDES DESTINATION ${REGISTRO_INCLUDEDIR})
install(FILES src/inq_gets.h src/staffTable.h src/informes.h src/Revelados.h inc/LinkedList.h
    common/status.h
    DESTINATION ${REGISTRO_INCLUDEDIR})

# A .pc file finds the prefix from its own place, so that any --prefix (and the package's /usr)
# is right without a rebuild.
file(RELATIVE_PATH REGISTRO_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
foreach(library IN LISTS REGISTRO_LIBRARIES)
    get_target_property(links ${library} INTERFACE_LINK_LIBRARIES)
    string(REGEX REPLACE "\\$<LINK_ONLY:([^>]+)>" "\\1" links "${links}")
    list(FILTER links EXCLUDE REGEX "NOTFOUND|[$<]")
    string(JOIN " " PC_REQUIRES ${links})
    set(PC_NAME ${library})
    set(PC_DESCRIPTION ${REGISTRO_DESCRIPTION_${library}})
    configure_file(${CMAKE_CURRENT_LIST_DIR}/library.pc.in
        ${PROJECT_BINARY_DIR}/packaging/pkgconfig/${library}.pc @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/packaging/pkgconfig/${library}.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()

install(EXPORT RegistroPersonalTargets NAMESPACE RegistroPersonal::
    DESTINATION ${REGISTRO_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/RegistroPersonalConfig.cmake.in
    ${PROJECT_BINARY_DIR}/packaging/RegistroPersonalConfig.cmake
    INSTALL_DESTINATION ${REGISTRO_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/packaging/RegistroPersonalConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/packaging/RegistroPersonalConfig.cmake
    ${PROJECT_BINARY_DIR}/packaging/RegistroPersonalConfigVersion.cmake
    DESTINATION ${REGISTRO_CMAKEDIR})

include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)
