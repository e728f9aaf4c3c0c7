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
EXTENDED_CASE(removeProbe, 01)
EXTENDED_CASE(removeProbe, 02)
EXTENDED_CASE(removeProbe, 03)
EXTENDED_CASE(removeProbe, 04)
EXTENDED_CASE(unlinkProbe, 01)
EXTENDED_CASE(unlinkProbe, 02)
EXTENDED_CASE(unlinkProbe, 03)
EXTENDED_CASE(unlinkProbe, 04)
EXTENDED_CASE(unlinkProbe, 05)
EXTENDED_CASE(unlinkProbe, 06)
EXTENDED_CASE(insertProbe, 01)
EXTENDED_CASE(insertProbe, 02)
EXTENDED_CASE(insertProbe, 03)
EXTENDED_CASE(insertProbe, 04)
EXTENDED_CASE(insertProbe, 05)
EXTENDED_CASE(readProbe, 01)
EXTENDED_CASE(readProbe, 02)
EXTENDED_CASE(readProbe, 03)
EXTENDED_CASE(readProbe, 04)
EXTENDED_CASE(subListProbe, 01)
EXTENDED_CASE(subListProbe, 02)
EXTENDED_CASE(subListProbe, 03)
EXTENDED_CASE(subListProbe, 04)
EXTENDED_CASE(mapProbe, 01)
EXTENDED_CASE(mapProbe, 02)
EXTENDED_CASE(mapProbe, 03)
EXTENDED_CASE(tallyProbe, 01)
EXTENDED_CASE(tallyProbe, 02)
EXTENDED_CASE(rewriteProbe, 01)
EXTENDED_CASE(rewriteProbe, 02)
EXTENDED_CASE(rewriteProbe, 03)
EXTENDED_CASE(rewriteProbe, 04)
EXTENDED_CASE(rewriteProbe, 05)
EXTENDED_CASE(rewriteProbe, 06)
EXTENDED_CASE(tailProbe, 01)
EXTENDED_CASE(tailProbe, 02)
EXTENDED_CASE(tailProbe, 03)
EXTENDED_CASE(tailProbe, 04)
EXTENDED_CASE(tailProbe, 05)
EXTENDED_CASE(releaseProbe, 01)
EXTENDED_CASE(releaseProbe, 02)
EXTENDED_CASE(releaseProbe, 03)
EXTENDED_CASE(modelProbe, 01)
EXTENDED_CASE(resultProbe, 01) // documented results: ll_remove at every bound, NULL list
EXTENDED_CASE(resultProbe, 02) // documented results: ll_map, ll_count, NULL list or callback
EXTENDED_CASE(resultProbe, 03) // documented results: ll_add, test_addNode at every bound
EXTENDED_CASE(resultProbe, 04) // documented results: test_getNode, ll_get, ll_pop at every bound
EXTENDED_CASE(resultProbe, 05) // documented results: ll_subList ranges, ll_containsAll shapes
EXTENDED_CASE(resultProbe, 06) // documented results: insertions over a chain shorter than size
EXTENDED_CASE(limitProbe, 01) // a list of 70000: indices, lengths and callbacks past 65535
EXTENDED_CASE(limitProbe, 02) // ll_count sums past 255, 32767 and 65535
EXTENDED_CASE(limitProbe, 03) // size at INT_MAX: full, nothing added, size kept
EXTENDED_CASE(pastSizeProbe, 01) // nodes past size: reads, lookups, callbacks leave them alone
EXTENDED_CASE(pastSizeProbe, 02) // nodes past size: inserts, pops, removes at the end
EXTENDED_CASE(pastSizeProbe, 03) // nodes past size: disposal frees only the first size nodes
