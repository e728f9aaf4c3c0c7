// The model check's report of a failing sequence: what went wrong, and the sequence as a small C
// program that replays it, asserting what the model expects at each step.
#include "modelOps.h"

#include "probeSeed.h"
#include "utest.h"

#include <string.h>

#include <string>
#include <vector>

namespace modelCheck {

// The C text of an element.
std::string elementText(int code) {
    if (code == NULL_ELEMENT) {
        return "NULL";
    }
    if (code == FOREIGN) {
        return "otro puntero";
    }
    if (code == NO_NODE) {
        return "ningun nodo (NULL)";
    }
    return "&e[" + std::to_string(code) + "]";
}

std::string observationText(const Observation& observation) {
    return observation.element ? elementText(static_cast<int>(observation.value))
                               : std::to_string(observation.value);
}

namespace {

// What the emitted program defines for the operations that use it, in the program's order.
struct Definition {
    Helper helper;
    const char* text;
};

constexpr Definition HELPERS[] = {
    {VISIT_HELPER, "static void* seen[64];\n"
                   "static int visits;\n"
                   "static void visit(void* element) {\n"
                   "    if (visits < 64) {\n"
                   "        seen[visits] = element;\n"
                   "    }\n"
                   "    visits++;\n"
                   "}\n"},
    {WEIGHT_HELPER, "static int weight(void* element) {\n"
                    "    visit(element);\n"
                    "    return element != NULL ? *(int*)element : 1;\n"
                    "}\n"},
    {NEW_NODE_HELPER, "static Node* newNode(void* element, Node* next) {\n"
                      "    Node* node = malloc(sizeof(Node));\n"
                      "    node->pElement = element;\n"
                      "    node->pNextNode = next;\n"
                      "    return node;\n"
                      "}\n"},
    {CUT_AFTER_HELPER,
     "/* El llamador deja los primeros count nodos (a lo sumo size) y suelta el resto. */\n"
     "static void cutAfter(LinkedList* list, int count) {\n"
     "    Node** link = &list->pFirstNode;\n"
     "    count = count < list->size ? count : list->size;\n"
     "    for (int i = 0; i < count && *link != NULL; i++) {\n"
     "        link = &(*link)->pNextNode;\n"
     "    }\n"
     "    *link = NULL;\n"
     "    list->size = count;\n"
     "}\n"},
    {PUSH_FRONT_HELPER, "/* El llamador encadena adelante un nodo propio. */\n"
                        "static void pushFront(LinkedList* list, void* element) {\n"
                        "    list->pFirstNode = newNode(element, list->pFirstNode);\n"
                        "    list->size++;\n"
                        "}\n"},
    {SWAP_HEAD_HELPER, "/* El llamador reemplaza el primer nodo por uno nuevo. */\n"
                       "static void swapHead(LinkedList* list, void* element) {\n"
                       "    if (list->pFirstNode != NULL) {\n"
                       "        list->pFirstNode = newNode(element, list->pFirstNode->pNextNode);\n"
                       "    }\n"
                       "}\n"},
    {LINK_TO_HELPER, "/* El enlace al nodo index, o el NULL que termina la cadena antes. */\n"
                     "static Node** linkTo(LinkedList* list, int index) {\n"
                     "    Node** link = &list->pFirstNode;\n"
                     "    for (int i = 0; i < index && *link != NULL; i++) {\n"
                     "        link = &(*link)->pNextNode;\n"
                     "    }\n"
                     "    return link;\n"
                     "}\n"},
    {REPLACE_NODE_HELPER,
     "/* El llamador reemplaza el nodo index por uno nuevo y libera el viejo. */\n"
     "static void replaceNode(LinkedList* list, int index, void* element) {\n"
     "    Node** link = linkTo(list, index);\n"
     "    if (index >= 0 && index < list->size && *link != NULL) {\n"
     "        Node* old = *link;\n"
     "        *link = newNode(element, old->pNextNode);\n"
     "        free(old);\n"
     "    }\n"
     "}\n"},
    {SWAP_NEXT_HELPER,
     "/* El llamador cambia de lugar los nodos index e index+1, reenlazandolos. */\n"
     "static void swapNext(LinkedList* list, int index) {\n"
     "    Node** link = linkTo(list, index);\n"
     "    if (index >= 0 && index + 1 < list->size && *link != NULL &&\n"
     "        (*link)->pNextNode != NULL) {\n"
     "        Node* first = *link;\n"
     "        Node* second = first->pNextNode;\n"
     "        first->pNextNode = second->pNextNode;\n"
     "        second->pNextNode = first;\n"
     "        *link = second;\n"
     "    }\n"
     "}\n"},
};

constexpr Definition LOCALS[] = {
    {SUB_LOCAL, "    LinkedList* sub;\n"},
    {ONE_LOCAL, "    LinkedList* one;\n"},
};

// What the operations of ops need defined.
unsigned needs(const std::vector<Op>& ops) {
    unsigned helpers = 0;
    for (const Op& op : ops) {
        helpers |= operation(op.kind).helpers;
    }
    return helpers;
}

// Appends text to the report a line at a time, each line ended with "\r\n".
void printLines(const std::string& text) {
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        const size_t stop = end == std::string::npos ? text.size() : end;
        utest_print2("%.*s\r\n", static_cast<int>(stop - start), text.c_str() + start);
        start = stop + 1;
    }
}

// What went wrong at the failing step, in words.
std::string what(const Verdict& verdict) {
    switch (verdict.how) {
    case Verdict::differed:
        return "la lista da " + observationText(verdict.got) + " y el modelo " +
               observationText(verdict.wanted);
    case Verdict::crashed: {
        const char* name = sigabbrev_np(verdict.detail);
        return "la lista se cae: senal " + std::to_string(verdict.detail) + " (SIG" +
               (name != nullptr ? name : "?") + ")";
    }
    case Verdict::hung:
        return "la lista no termina (mas de " + std::to_string(CHILD_CPU_MS) + " ms de CPU)";
    case Verdict::blocked:
        return "la lista se queda esperando (mas de " + std::to_string(CHILD_WALL_MS) + " ms)";
    case Verdict::exited:
        return "el proceso termina con estado " + std::to_string(verdict.detail);
    case Verdict::agreed:
        break;
    }
    return "";
}

} // namespace

void report(const std::vector<Op>& ops, const Verdict& verdict, int batch, bool finished) {
    utest_print4("Chequeo contra un modelo: semilla %llu, tanda %d de %d, %s\r\n", probeSeed,
                 batch + 1, BATCHES,
                 finished ? "reducida al minimo" : "reducida hasta agotar el tiempo");
    utest_print1("Repetirla: probeRunner --extended --seed %llu --case modelProbeCase01\r\n",
                 probeSeed);
    utest_print3("En el paso %d de %zu, %s.\r\n", verdict.step + 1, ops.size(),
                 what(verdict).c_str());
    utest_print("La secuencia como programa en C (compilarlo junto con la lista):\r\n");
    std::string program = "#include <assert.h>\n#include <stdlib.h>\n#include \"LinkedList.h\"\n\n";
    program += "static int e[" + std::to_string(POOL) + "] = {";
    for (int i = 0; i < POOL; i++) {
        program += std::to_string(pool[i]) + (i + 1 < POOL ? ", " : "};\n");
    }
    const unsigned needed = needs(ops);
    for (const Definition& helper : HELPERS) {
        program += (needed & helper.helper) != 0 ? std::string("\n") + helper.text : "";
    }
    program += "\nint main(void) {\n    LinkedList* list = ll_newLinkedList();\n";
    for (const Definition& local : LOCALS) {
        program += (needed & local.helper) != 0 ? local.text : "";
    }
    std::vector<int> model;
    for (size_t i = 0; i < ops.size(); i++) {
        const Operation& step = operation(ops[i].kind);
        const std::vector<Line> lines = step.write(ops[i], step.expect(ops[i], model));
        for (size_t j = 0; j < lines.size(); j++) {
            program += lines[j].text;
            const bool failing =
                static_cast<int>(i) == verdict.step &&
                (verdict.how == Verdict::differed ? lines[j].observation == verdict.observation
                                                  : j == 0);
            program += failing ? " /* <- " + what(verdict) + " */\n" : "\n";
        }
    }
    program += "    return 0;\n}\n";
    printLines(program);
}

} // namespace modelCheck
