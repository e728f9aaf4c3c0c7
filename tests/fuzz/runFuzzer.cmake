# Runs one libFuzzer target for a bounded number of inputs, as a test:
#   cmake -DFUZZER=<program> -DSEEDS=<seed folder> -DWORK=<scratch folder> -DRUNS=<inputs>
#         [-DOPTIONS=<option|option...>] -P runFuzzer.cmake
# The fuzzer starts from the seeds and writes what it learns and any crashing input into WORK,
# emptied first, so that the seeds in the source tree are read and never written.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus)
string(REPLACE "|" ";" options "${OPTIONS}")
execute_process(
    COMMAND ${FUZZER} -seed=1 -runs=${RUNS} -max_total_time=100 -artifact_prefix=${WORK}/
        ${options} ${WORK}/corpus ${SEEDS}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} failed (${result}); the input that failed is in ${WORK}")
endif()
