/* heapProbe's cases, as lines of probeCases.h. */
EXTENDED_CASE(heapProbe, 01, "a list of two null elements, disposed of (ll_add, ll_deleteLinkedList)")
EXTENDED_CASE(heapProbe, 02, "an element mapped, counted, popped, freed (ll_map, ll_count, ll_pop)")
