/* Every case the runner knows, in the order it runs them.
 *
 * CONFORMANCE_CASE(group, number, "description") names the conformance cases that every run
 * checks; EXTENDED_CASE(group, number, "description") the extended checks, which run only when
 * asked for. Each entry stands for the function group##Case##number, and each group has its
 * group##Setup and its source testing/src/<group>.cpp. The description is one line: what the case
 * checks, then in parentheses the list functions it calls; the runner shows it in --list and
 * under a failed case. The runner, the build and the tests all read this list, so a new case
 * needs its entry here and its function, nothing more.
 *
 * Include it with both macros defined; it defines nothing itself. */
CONFORMANCE_CASE(appendProbe, 01,
    "a null element inserted at 0 counts as a node (test_addNode, size field)")
CONFORMANCE_CASE(appendProbe, 02, "every insertion at the end answers 0 (test_addNode)")
CONFORMANCE_CASE(appendProbe, 03,
    "inserted elements are read back in insertion order (test_addNode, test_getNode)")
CONFORMANCE_CASE(appendProbe, 04, "a null list is refused with -1 (test_addNode)")
CONFORMANCE_CASE(appendProbe, 05,
    "insertion at 0 goes to the front and shifts every node on (test_addNode, test_getNode)")
CONFORMANCE_CASE(fetchProbe, 01, "a list with nodes hands out its first node (test_getNode)")
CONFORMANCE_CASE(fetchProbe, 02, "index 0 is the first node itself (test_getNode)")
CONFORMANCE_CASE(fetchProbe, 03, "the last index is the last node itself (test_getNode)")
CONFORMANCE_CASE(fetchProbe, 04,
    "indices outside 0..size-1 give null, even with more nodes chained (test_getNode)")
CONFORMANCE_CASE(fetchProbe, 05, "a null list has no nodes (test_getNode)")
CONFORMANCE_CASE(extractProbe, 01, "popping the only element hands something back (ll_add, ll_pop)")
CONFORMANCE_CASE(extractProbe, 02,
    "popping the only element returns it and empties the list (ll_pop, ll_len)")
CONFORMANCE_CASE(extractProbe, 03,
    "popping the last of two returns it and leaves one (ll_pop, ll_len)")
CONFORMANCE_CASE(extractProbe, 04, "indices below 0 or at the length give null (ll_pop)")
CONFORMANCE_CASE(extractProbe, 05, "a null list has no elements (ll_get)")
CONFORMANCE_CASE(sliceProbe, 01,
    "a valid range of a list holding null yields a list (ll_add, ll_subList)")
CONFORMANCE_CASE(sliceProbe, 02,
    "the range 0 to 2 holds the first two elements in order (ll_subList, ll_get)")
CONFORMANCE_CASE(sliceProbe, 03,
    "a start below 0 or an end past the length yields null (ll_subList)")
CONFORMANCE_CASE(sliceProbe, 04, "a null list yields null (ll_subList)")
CONFORMANCE_CASE(memberProbe, 01, "an empty list holds nothing, not even null (ll_contains)")
CONFORMANCE_CASE(memberProbe, 02,
    "a list of employees holds each of them and not null (ll_add, ll_contains)")
CONFORMANCE_CASE(memberProbe, 03, "a null list answers -1 (ll_contains)")
CONFORMANCE_CASE(supersetProbe, 01,
    "an empty list asked about itself answers 0 or 1 (ll_containsAll)")
CONFORMANCE_CASE(supersetProbe, 02,
    "a list whose first element was removed no longer holds its twin (ll_remove, ll_containsAll)")
CONFORMANCE_CASE(supersetProbe, 03,
    "two lists of the same pointers hold each other (ll_add, ll_containsAll)")
CONFORMANCE_CASE(supersetProbe, 04, "a null list on either side answers -1 (ll_containsAll)")
CONFORMANCE_CASE(positionProbe, 01,
    "a null element is found at its index, an unknown address is not (ll_add, ll_indexOf)")
CONFORMANCE_CASE(positionProbe, 02, "a null list answers -1 (ll_indexOf)")
CONFORMANCE_CASE(countProbe, 01,
    "the length is the size field, even with no node behind it (ll_len)")
CONFORMANCE_CASE(countProbe, 02, "an empty list has length 0 (ll_len)")
CONFORMANCE_CASE(countProbe, 03, "a null list answers -1 (ll_len)")
CONFORMANCE_CASE(disposeProbe, 01,
    "a list holding null is disposed of with 0 (ll_add, ll_deleteLinkedList)")
CONFORMANCE_CASE(disposeProbe, 02, "a null list answers -1 (ll_deleteLinkedList)")
EXTENDED_CASE(removeProbe, 01,
    "removing at size-1 takes the last out and keeps the rest in order (ll_remove, ll_len)")
EXTENDED_CASE(removeProbe, 02, "indices -1 and size remove nothing (ll_remove, ll_len)")
EXTENDED_CASE(removeProbe, 03, "a null list survives ll_remove and pops null (ll_remove, ll_pop)")
EXTENDED_CASE(removeProbe, 04,
    "removing at 0 until empty shortens by one each time (ll_remove, ll_len)")
EXTENDED_CASE(unlinkProbe, 01,
    "popping at 0 returns the first and keeps the other four in order (ll_pop, ll_len)")
EXTENDED_CASE(unlinkProbe, 02,
    "popping at 2 returns the middle element and closes the gap (ll_pop, ll_len)")
EXTENDED_CASE(unlinkProbe, 03, "removing at 0 keeps the other four in order (ll_remove, ll_len)")
EXTENDED_CASE(unlinkProbe, 04, "removing at 2 closes the gap (ll_remove, ll_len)")
EXTENDED_CASE(unlinkProbe, 05,
    "popping twice at a middle index after reading there returns both in turn (ll_get, ll_pop)")
EXTENDED_CASE(unlinkProbe, 06,
    "after a read in the middle, popping at 0 moves every element back (ll_get, ll_pop)")
EXTENDED_CASE(insertProbe, 01,
    "an element inserted at 2 of five lands there, the chain behind it (test_addNode, ll_len)")
EXTENDED_CASE(insertProbe, 02,
    "indices -1 and size+1 are refused with -1 and change nothing (test_addNode, ll_len)")
EXTENDED_CASE(insertProbe, 03,
    "inserting where size says a node is but none is chained answers -1 (test_addNode, ll_len)")
EXTENDED_CASE(insertProbe, 04,
    "end and front inserts between appends keep every element in place (ll_add, test_addNode)")
EXTENDED_CASE(insertProbe, 05,
    "after a read in the middle, a front insert shifts every element (ll_get, test_addNode)")
EXTENDED_CASE(readProbe, 01, "indices -1 and size give null (ll_get)")
EXTENDED_CASE(readProbe, 02,
    "index size-1 gives the last element, first and again after the others (ll_get)")
EXTENDED_CASE(readProbe, 03, "reading from the last index down to 0 gives every element (ll_get)")
EXTENDED_CASE(readProbe, 04,
    "an empty list gives null at 0, also once it has held elements (ll_add, ll_pop, ll_get)")
EXTENDED_CASE(subListProbe, 01,
    "the range 1 to 4 of five holds exactly the elements at 1, 2 and 3 (ll_subList, ll_len)")
EXTENDED_CASE(subListProbe, 02,
    "an empty range at the front, middle or end gives an empty list (ll_subList, ll_len)")
EXTENDED_CASE(subListProbe, 03, "a start past the end gives null (ll_subList)")
EXTENDED_CASE(subListProbe, 04,
    "a sub-list's nodes are its own; the original stays (ll_subList, ll_pop, ll_deleteLinkedList)")
EXTENDED_CASE(mapProbe, 01,
    "five elements, one null, are each visited once, in order (ll_add, ll_map)")
EXTENDED_CASE(mapProbe, 02, "an empty list and a null list call nothing (ll_map)")
EXTENDED_CASE(mapProbe, 03,
    "with size cut to 3 over a chain of five only three are visited (ll_map)")
EXTENDED_CASE(tallyProbe, 01,
    "sectors 3, -4, 0, 6, -1 and a null element count 9 (ll_add, ll_count)")
EXTENDED_CASE(tallyProbe, 02,
    "an empty list counts 0; a null list or callback answers -1 (ll_count)")
EXTENDED_CASE(rewriteProbe, 01, "a list cut down to two by hand reads as two (ll_len, ll_contains)")
EXTENDED_CASE(rewriteProbe, 02,
    "appends and inserts after a cut go behind the two left (ll_add, test_addNode, ll_len)")
EXTENDED_CASE(rewriteProbe, 03,
    "a first node replaced by hand is read in place of the old one (ll_get)")
EXTENDED_CASE(rewriteProbe, 04,
    "a list whose only node the caller replaced appends behind it (ll_add, ll_len)")
EXTENDED_CASE(rewriteProbe, 05,
    "a chain replaced by a caller's node and new size is read and appended to (ll_add, ll_len)")
EXTENDED_CASE(rewriteProbe, 06,
    "a node chained in front by the caller shifts every element (ll_add, ll_len)")
EXTENDED_CASE(tailProbe, 01,
    "popping the last of three and appending puts the new one third (ll_pop, ll_add)")
EXTENDED_CASE(tailProbe, 02,
    "removing the last of three and appending puts the new one third (ll_remove, ll_add)")
EXTENDED_CASE(tailProbe, 03,
    "popping the only element and appending leaves the new one alone (ll_pop, ll_add)")
EXTENDED_CASE(tailProbe, 04,
    "removing from the end until empty, then appending two, gives those two (ll_remove, ll_add)")
EXTENDED_CASE(tailProbe, 05,
    "an insert at the end after popping the last and an append (ll_pop, test_addNode, ll_add)")
EXTENDED_CASE(releaseProbe, 01,
    "disposing of a hundred appended elements frees every node (ll_add, ll_deleteLinkedList)")
EXTENDED_CASE(releaseProbe, 02,
    "disposing of three nodes chained by hand frees them (ll_deleteLinkedList)")
EXTENDED_CASE(releaseProbe, 03,
    "disposing after inserts, pop, removal (test_addNode, ll_pop, ll_remove, ll_deleteLinkedList)")
EXTENDED_CASE(modelProbe, 01,
    "random call sequences agree with a model list; a failure becomes a program (all ll_ calls)")
EXTENDED_CASE(resultProbe, 01,
    "ll_remove's results at every bound and for a null list (ll_remove, ll_len)")
EXTENDED_CASE(resultProbe, 02,
    "ll_map's and ll_count's results for a null list or callback (ll_map, ll_count)")
EXTENDED_CASE(resultProbe, 03,
    "ll_add's and test_addNode's results at every bound (ll_add, test_addNode)")
EXTENDED_CASE(resultProbe, 04,
    "results at every bound of the index (test_getNode, ll_get, ll_pop)")
EXTENDED_CASE(resultProbe, 05,
    "sub-list ranges and second lists of every shape (ll_subList, ll_containsAll)")
EXTENDED_CASE(resultProbe, 06,
    "insertions over a chain shorter than size answer -1, changing nothing (test_addNode, ll_add)")
EXTENDED_CASE(limitProbe, 01,
    "a list of 70000: indices, lengths and callbacks past 65535 (ll_add, ll_get, ll_len, ll_map)")
EXTENDED_CASE(limitProbe, 02, "sums past 255, 32767 and 65535 (ll_count)")
EXTENDED_CASE(limitProbe, 03,
    "a list whose size is INT_MAX is full: nothing is added, size kept (ll_add, test_addNode)")
EXTENDED_CASE(pastSizeProbe, 01,
    "reads, lookups and callbacks leave the nodes past size alone (ll_get, ll_indexOf, ll_map)")
EXTENDED_CASE(pastSizeProbe, 02,
    "inserts, pops and removes at the end leave the nodes past size alone (test_addNode, ll_pop)")
EXTENDED_CASE(pastSizeProbe, 03, "disposal frees only the first size nodes (ll_deleteLinkedList)")
EXTENDED_CASE(observeProbe, 01,
    "three lists' chains, sizes and last links after every call; reads change nothing (all ll_ calls)")
EXTENDED_CASE(surroundProbe, 01,
    "the observed sequences with errno set before every call give the same (all ll_ calls)")
EXTENDED_CASE(surroundProbe, 02,
    "callbacks that read the list walking them and append to another (ll_map, ll_count, ll_add)")
EXTENDED_CASE(surroundProbe, 03,
    "elements far apart and sharing low 32 bits are told apart (ll_indexOf, ll_contains)")
EXTENDED_CASE(surroundProbe, 04, "sums at and past INT_MAX are held at INT_MAX (ll_count)")
