# Prints gcovr's line and branch coverage of the system's sources (src/, lib/, testing/, apps/, common/)
# and its per-file table of branches from the counts the tests left, fails below the floors, then
# clears the counts so that the next run measures afresh:
#   cmake -DGCOVR=<gcovr> -DSOURCE=<source dir> -DBUILD=<build dir> -P coverageReport.cmake
# Branches the compiler adds for exceptions and for code it proves unreachable are not counted.
set(lineFloor 96.3)
set(branchFloor 82.5)
execute_process(
    COMMAND ${GCOVR} --root ${SOURCE} --object-directory ${BUILD}
        --filter ${SOURCE}/src/ --filter ${SOURCE}/lib/ --filter ${SOURCE}/testing/
        --filter ${SOURCE}/apps/ --filter ${SOURCE}/common/
        --exclude-unreachable-branches --exclude-throw-branches
        --txt ${BUILD}/coverage.txt --branches --print-summary
        --fail-under-line ${lineFloor} --fail-under-branch ${branchFloor}
    WORKING_DIRECTORY ${SOURCE}
    # gcov's complaints about sources it cannot open (a test renames its own file with #line)
    ERROR_FILE ${BUILD}/gcovr-warnings.log
    RESULT_VARIABLE result)
file(READ ${BUILD}/coverage.txt perFile)
message("${perFile}")
file(GLOB_RECURSE counts ${BUILD}/*.gcda)
if(counts)
    file(REMOVE ${counts})
endif()
if(NOT result EQUAL 0)
    message(FATAL_ERROR "coverage below ${lineFloor}% of lines or ${branchFloor}% of branches, "
        "or gcovr failed (see ${BUILD}/gcovr-warnings.log)")
endif()
