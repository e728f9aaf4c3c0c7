# `cpack -G DEB` in the build folder (or `cmake --workflow --preset package`): a Debian package of
# what the install puts under /usr. It depends on what check-list needs to build a list (a C and
# a C++ compiler, bash) and, through dpkg-shlibdeps, on the C and C++ runtime the programs use.
set(CPACK_PACKAGE_NAME ${REGISTRO_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Console programs for an employee register, sales figures and a salary export; the console "
    "input, register and linked-list libraries with their CMake and pkg-config files; and "
    "check-list, which checks a linked list of one's own against the conformance cases.")
set(REGISTRO_PACKAGE_MAINTAINER
    "registro_personal maintainers <maintainers@users.noreply.c-seed-5b8d8326.example>"
    CACHE STRING "The Debian package's maintainer")
set(CPACK_PACKAGE_CONTACT "${REGISTRO_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX ${REGISTRO_PACKAGE_PREFIX})
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "bash, bubblewrap, gcc | c-compiler, g++ | c++-compiler")
include(CPack)
