/* Every case the runner knows, in the order it runs them.
 *
 * CONFORMANCE_CASE(group, number) names the conformance cases that every run checks;
 * EXTENDED_CASE(group, number) the extended checks, which run only when asked for. Each line
 * stands for the function group##Case##number, and each group has its group##Setup and its
 * source testing/src/<group>.cpp. The runner, the build and the tests all read this list, so a
 * new case needs its line here and its function, nothing more.
 *
 * Include it with both macros defined; it defines nothing itself. */
CONFORMANCE_CASE(appendProbe, 01)
CONFORMANCE_CASE(appendProbe, 02)
CONFORMANCE_CASE(appendProbe, 03)
CONFORMANCE_CASE(appendProbe, 04)
CONFORMANCE_CASE(appendProbe, 05)
CONFORMANCE_CASE(fetchProbe, 01)
CONFORMANCE_CASE(fetchProbe, 02)
CONFORMANCE_CASE(fetchProbe, 03)
CONFORMANCE_CASE(fetchProbe, 04)
CONFORMANCE_CASE(fetchProbe, 05)
CONFORMANCE_CASE(extractProbe, 01)
CONFORMANCE_CASE(extractProbe, 02)
CONFORMANCE_CASE(extractProbe, 03)
CONFORMANCE_CASE(extractProbe, 04)
CONFORMANCE_CASE(extractProbe, 05)
CONFORMANCE_CASE(sliceProbe, 01)
CONFORMANCE_CASE(sliceProbe, 02)
CONFORMANCE_CASE(sliceProbe, 03)
CONFORMANCE_CASE(sliceProbe, 04)
CONFORMANCE_CASE(memberProbe, 01)
CONFORMANCE_CASE(memberProbe, 02)
CONFORMANCE_CASE(memberProbe, 03)
CONFORMANCE_CASE(supersetProbe, 01)
CONFORMANCE_CASE(supersetProbe, 02)
CONFORMANCE_CASE(supersetProbe, 03)
CONFORMANCE_CASE(supersetProbe, 04)
CONFORMANCE_CASE(positionProbe, 01)
CONFORMANCE_CASE(positionProbe, 02)
CONFORMANCE_CASE(countProbe, 01)
CONFORMANCE_CASE(countProbe, 02)
CONFORMANCE_CASE(countProbe, 03)
CONFORMANCE_CASE(disposeProbe, 01)
CONFORMANCE_CASE(disposeProbe, 02)
