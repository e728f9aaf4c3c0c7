/* Every function of inc/LinkedList.h, as LIST_FUNCTION(result, name, (parameters), (arguments)).
 *
 * The runner wraps each at link time (the build reads the names from these lines and links with
 * --wrap=name): the cases' calls reach the wrapper, which records the call and then calls the
 * list's own function, or fails the case when the list does not have it.
 *
 * Include it with LIST_FUNCTION defined; it defines nothing itself. */
LIST_FUNCTION(LinkedList*, ll_newLinkedList, (void), ())
LIST_FUNCTION(int, ll_len, (LinkedList * list), (list))
LIST_FUNCTION(int, ll_add, (LinkedList * list, void* pElement), (list, pElement))
LIST_FUNCTION(int, test_addNode, (LinkedList * list, int index, void* pElement),
              (list, index, pElement))
LIST_FUNCTION(Node*, test_getNode, (LinkedList * list, int index), (list, index))
LIST_FUNCTION(void*, ll_get, (LinkedList * list, int index), (list, index))
LIST_FUNCTION(void*, ll_pop, (LinkedList * list, int index), (list, index))
LIST_FUNCTION(int, ll_remove, (LinkedList * list, int index), (list, index))
LIST_FUNCTION(LinkedList*, ll_subList, (LinkedList * list, int from, int to), (list, from, to))
LIST_FUNCTION(int, ll_contains, (LinkedList * list, void* pElement), (list, pElement))
LIST_FUNCTION(int, ll_containsAll, (LinkedList * list, LinkedList* list2), (list, list2))
LIST_FUNCTION(int, ll_indexOf, (LinkedList * list, void* pElement), (list, pElement))
LIST_FUNCTION(int, ll_deleteLinkedList, (LinkedList * list), (list))
LIST_FUNCTION(int, ll_map, (LinkedList * list, void (*pFunc)(void*)), (list, pFunc))
LIST_FUNCTION(int, ll_count, (LinkedList * list, int (*pFunc)(void*)), (list, pFunc))
