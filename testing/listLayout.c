/* The layout a list's own LinkedList.h must keep, as rules the compiler judges: the list is built
 * against its header and the cases against inc/LinkedList.h, so both must agree where the cases
 * reach into the records. Node must match exactly (the cases allocate Nodes themselves);
 * LinkedList must begin with pFirstNode and size, and may go on as the list likes.
 *
 * Compiled with the header forced in front (-include HEADER), as C or as C++ in the language of
 * the list's sources, with -DLAYOUT_RULE=0 for every rule at once or =N for rule N alone: a rule
 * that does not hold declares an array of negative size, and a field that is missing does not
 * compile, so that trying the rules one by one in field order names the first field that
 * differs. Each rule's line "rule N: TEXT" gives what differs, in the message that refuses the
 * header; a number past the last rule compiles the header on its own. */
#include <stddef.h>

#ifdef __cplusplus
#include <type_traits>
#define SAME_TYPE(a, b) std::is_same<a, b>::value
#define FIELD_TYPE(type, field) decltype(static_cast<type*>(nullptr)->field)
#else
#define SAME_TYPE(a, b) __builtin_types_compatible_p(a, b)
#define FIELD_TYPE(type, field) __typeof__(((type*)0)->field)
#endif
#define HOLDS(number, condition) extern int layoutRule##number[(condition) ? 1 : -1];

/* rule 1: the type `Node` */
#if LAYOUT_RULE == 0 || LAYOUT_RULE == 1
HOLDS(1, sizeof(Node) > 0)
#endif
/* rule 2: the first field of `Node`, `void* pElement` */
#if LAYOUT_RULE == 0 || LAYOUT_RULE == 2
HOLDS(2, offsetof(Node, pElement) == 0 && SAME_TYPE(FIELD_TYPE(Node, pElement), void*))
#endif
/* rule 3: the second field of `Node`, `struct Node* pNextNode` */
#if LAYOUT_RULE == 0 || LAYOUT_RULE == 3
HOLDS(3, offsetof(Node, pNextNode) == sizeof(void*) &&
             SAME_TYPE(FIELD_TYPE(Node, pNextNode), Node*))
#endif
/* rule 4: the end of `Node` after `pNextNode` */
#if LAYOUT_RULE == 0 || LAYOUT_RULE == 4
HOLDS(4, sizeof(Node) == 2 * sizeof(void*))
#endif
/* rule 5: the type `LinkedList` */
#if LAYOUT_RULE == 0 || LAYOUT_RULE == 5
HOLDS(5, sizeof(LinkedList) > 0)
#endif
/* rule 6: the first field of `LinkedList`, `Node* pFirstNode` */
#if LAYOUT_RULE == 0 || LAYOUT_RULE == 6
HOLDS(6, offsetof(LinkedList, pFirstNode) == 0 &&
             SAME_TYPE(FIELD_TYPE(LinkedList, pFirstNode), Node*))
#endif
/* rule 7: the second field of `LinkedList`, `int size` */
#if LAYOUT_RULE == 0 || LAYOUT_RULE == 7
HOLDS(7, offsetof(LinkedList, size) == sizeof(Node*) &&
             SAME_TYPE(FIELD_TYPE(LinkedList, size), int))
#endif
