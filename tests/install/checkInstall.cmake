# The install and the package, checked as a user of them would: run with cmake -P.
#   -DCHECK=tree     install BUILD into a fresh prefix, check its tree and the installed programs'
#                    names and version, then build and run a consumer through find_package and
#                    one through pkg-config against it
#   -DCHECK=package  cpack -G DEB, and the package's files are the install's
# Other definitions: BUILD, SOURCE (holding BUILD, or beside it), CPACK, WORK (a scratch folder, emptied first), VERSION, LIBDIR,
# MANPAGES (the pages the build makes), GENERATOR, CXX, CXX_FLAGS, LINK_FLAGS (the build's own,
# so that a sanitizer or coverage build links its consumers alike).
cmake_minimum_required(VERSION 3.25)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "failed (${status}): ${ARGN}\n${out}")
    endif()
    set(out "${out}" PARENT_SCOPE)
endfunction()

# Every file under folder, as paths relative to it, sorted.
function(files_under folder result)
    file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${folder} ${folder}/*)
    list(SORT found)
    set(${result} ${found} PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
set(prefix ${WORK}/prefix)
run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix})
files_under(${prefix} installed)

if(CHECK STREQUAL "package")
    run(${CPACK} -G DEB --config ${BUILD}/CPackConfig.cmake -B ${WORK}/package)
    file(GLOB deb ${WORK}/package/*.deb)
    run(dpkg-deb -f ${deb} Version)
    if(NOT out STREQUAL "${VERSION}\n")
        message(FATAL_ERROR "the package's version is ${out}, not ${VERSION}")
    endif()
    run(dpkg-deb -x ${deb} ${WORK}/unpacked)
    files_under(${WORK}/unpacked/usr packaged)
    if(NOT packaged STREQUAL installed)
        message(FATAL_ERROR "the package holds\n${packaged}\nthe install\n${installed}")
    endif()
    file(REMOVE_RECURSE ${WORK})
    return()
endif()

set(expected "")
foreach(program IN ITEMS registro ventas probeRunner ioPrimer exportar-sueldos check-list)
    list(APPEND expected bin/${program})
    run(${prefix}/bin/${program} --version)
    if(NOT out STREQUAL "${program} ${VERSION}\n")
        message(FATAL_ERROR "bin/${program} --version says: ${out}")
    endif()
endforeach()
foreach(library IN ITEMS inq_gets staffTable informes LinkedList Revelados)
    list(APPEND expected ${LIBDIR}/lib${library}.a ${LIBDIR}/pkgconfig/${library}.pc
        include/registro_personal/${library}.h)
endforeach()
foreach(page IN LISTS MANPAGES)
    list(APPEND expected share/man/man1/${page}.1.gz)
endforeach()
list(APPEND expected include/registro_personal/status.h
    ${LIBDIR}/cmake/RegistroPersonal/RegistroPersonalConfig.cmake
    ${LIBDIR}/registro_personal/check-list.conf ${LIBDIR}/registro_personal/checkClass
    ${LIBDIR}/registro_personal/referenceRunner ${LIBDIR}/registro_personal/sandbox
    ${LIBDIR}/registro_personal/checkLayout.sh ${LIBDIR}/registro_personal/listJudge
    share/doc/registro-personal/README.md share/doc/registro-personal/check-list.md
    share/doc/registro-personal/copyright share/locale/es/LC_MESSAGES/registro_personal.mo)
foreach(file IN LISTS expected)
    if(NOT file IN_LIST installed)
        message(FATAL_ERROR "the install lacks ${file}; it holds\n${installed}")
    endif()
endforeach()

# Against the install alone: a consumer that reached into the build or source tree would pass
# here and fail elsewhere.
foreach(file IN LISTS installed)
    if(file MATCHES "\\.(cmake|pc|h)$")
        file(READ ${prefix}/${file} text)
        string(FIND "${text}" "${SOURCE}" at)
        if(NOT at EQUAL -1)
            message(FATAL_ERROR "${file} names the source tree ${SOURCE}")
        endif()
    endif()
endforeach()
run(${CMAKE_COMMAND} -S ${SOURCE}/tests/install/consumer -B ${WORK}/cmake -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} -DEXPECTED_VERSION=${VERSION} -DCMAKE_CXX_COMPILER=${CXX}
    -DCMAKE_CXX_FLAGS=${CXX_FLAGS} -DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS})
run(${CMAKE_COMMAND} --build ${WORK}/cmake)
run(${WORK}/cmake/app)

set(ENV{PKG_CONFIG_PATH} ${prefix}/${LIBDIR}/pkgconfig)
run(sh -c "${CXX} ${CXX_FLAGS} ${LINK_FLAGS} \"$0\" -o \"$1\" \
$(pkg-config --cflags --libs inq_gets informes LinkedList Revelados)"
    ${SOURCE}/tests/install/app.cpp ${WORK}/pkgconfig-app)
run(${WORK}/pkgconfig-app)

# check-list from the install, with a cache of its own: its help names the installed header, it
# finds the installed Spanish catalog, the bundled list passes, a list whose ll_pop keeps the
# length fails its cases (status 1).
set(ENV{XDG_CACHE_HOME} ${WORK}/cache)
run(${prefix}/bin/check-list --help)
string(FIND "${out}" "${prefix}/include/registro_personal/LinkedList.h" at)
if(at EQUAL -1)
    message(FATAL_ERROR "check-list --help does not name the installed header:\n${out}")
endif()
set(ENV{LANG} C.UTF-8)
set(ENV{LANGUAGE} es)
unset(ENV{TEXTDOMAINDIR})
execute_process(COMMAND ${prefix}/bin/check-list --bogus OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT out MATCHES "^check-list: opción desconocida «--bogus»\n")
    message(FATAL_ERROR "check-list in Spanish from the install says:\n${out}")
endif()
unset(ENV{LANGUAGE})
run(${prefix}/bin/check-list ${SOURCE}/lib/LinkedList.c)
file(READ ${SOURCE}/tests/lists/faultyList.c faulty)
file(WRITE ${WORK}/faulty/popKeepsLength.c "#define FAULT_popKeepsLength\n${faulty}")
execute_process(COMMAND ${prefix}/bin/check-list ${WORK}/faulty/popKeepsLength.c
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 1 OR NOT out MATCHES "FAIL extractProbe extractProbeCase02")
    message(FATAL_ERROR "check-list on a faulty list: status ${status}\n${out}")
endif()
file(REMOVE_RECURSE ${WORK})
