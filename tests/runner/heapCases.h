/* heapProbe's cases, as lines of probeCases.h. */
EXTENDED_CASE(heapProbe, 01)
EXTENDED_CASE(heapProbe, 02)
