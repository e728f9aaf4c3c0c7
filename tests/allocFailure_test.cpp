// Every allocating operation of the list, the sale record and the fixture, tried with each of its
// allocations failing in turn: it must answer its failure value, leave what it was given as it
// was, and leak nothing (the sanitizer build checks that at exit).
#include "Employee.h"
#include "LinkedList.h"
#include "Parser.h"
#include "Revelados.h"
#include "allocFail.h"
#include "cText.h"
#include "files.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

int elements[8];

void* element(int i) {
    return &elements[i];
}

// A list of count elements, built with memory to spare.
LinkedList* listOf(int count) {
    LinkedList* list = ll_newLinkedList();
    for (int i = 0; i < count; ++i) {
        ll_add(list, element(i));
    }
    return list;
}

// What a caller can see of a list: its fields and every node it chains, in order.
struct Shape {
    int size;
    std::vector<Node*> nodes;
    std::vector<void*> elements;
    bool operator==(const Shape&) const = default;
};

Shape shapeOf(const LinkedList* list) {
    Shape shape{list->size, {}, {}};
    for (Node* node = list->pFirstNode; node != nullptr; node = node->pNextNode) {
        shape.nodes.push_back(node);
        shape.elements.push_back(node->pElement);
    }
    return shape;
}

// After a failed change the list must still take appends at its real end and read them back.
void expectStillUsable(LinkedList* list) {
    const int size = ll_len(list);
    ASSERT_EQ(ll_add(list, element(7)), 0);
    EXPECT_EQ(ll_len(list), size + 1);
    EXPECT_EQ(ll_get(list, size), element(7));
    EXPECT_EQ(ll_indexOf(list, element(7)), size);
}

TEST(AllocationFailure, NewListAnswersNull) {
    const long failures = allocfail::eachFailure([](long n) {
        allocfail::Failing failing(n);
        LinkedList* list = ll_newLinkedList();
        const bool fired = failing.fired();
        if (fired) {
            EXPECT_EQ(list, nullptr);
        } else {
            EXPECT_NE(list, nullptr);
        }
        ll_deleteLinkedList(list);
        return fired;
    });
    EXPECT_EQ(failures, 1);
}

TEST(AllocationFailure, AppendAndInsertAnswerMinusOneAndLeaveTheListAsItWas) {
    // Appending, inserting at the front, in the middle and at the end, on lists whose remembered
    // tail and cursor have been set by earlier reads.
    const struct {
        int size;
        int index; // -1: ll_add
    } cases[] = {{0, -1}, {3, -1}, {0, 0}, {3, 0}, {3, 1}, {3, 3}};
    for (const auto& c : cases) {
        const long failures = allocfail::eachFailure([&c](long n) {
            LinkedList* list = listOf(c.size);
            ll_get(list, c.size / 2);
            const Shape before = shapeOf(list);
            int result = 0;
            bool fired = false;
            {
                allocfail::Failing failing(n);
                result = c.index < 0 ? ll_add(list, element(6))
                                     : test_addNode(list, c.index, element(6));
                fired = failing.fired();
            }
            if (fired) {
                EXPECT_EQ(result, -1) << c.size << " " << c.index;
                EXPECT_EQ(shapeOf(list), before) << c.size << " " << c.index;
            } else {
                EXPECT_EQ(result, 0);
                EXPECT_EQ(ll_len(list), c.size + 1);
            }
            expectStillUsable(list);
            ll_deleteLinkedList(list);
            return fired;
        });
        EXPECT_EQ(failures, 1) << c.size << " " << c.index;
    }
}

TEST(AllocationFailure, SubListAnswersNullAndLeavesTheListAsItWas) {
    const struct {
        int from;
        int to;
        long allocations; // the header, then a node per element
    } cases[] = {{0, 0, 1}, {0, 5, 6}, {1, 4, 4}, {4, 5, 2}};
    for (const auto& c : cases) {
        const long failures = allocfail::eachFailure([&c](long n) {
            LinkedList* list = listOf(5);
            const Shape before = shapeOf(list);
            LinkedList* slice = nullptr;
            bool fired = false;
            {
                allocfail::Failing failing(n);
                slice = ll_subList(list, c.from, c.to);
                fired = failing.fired();
            }
            EXPECT_EQ(shapeOf(list), before);
            if (fired) {
                EXPECT_EQ(slice, nullptr) << c.from << ".." << c.to << " failing " << n;
            } else {
                EXPECT_NE(slice, nullptr);
                EXPECT_EQ(ll_len(slice), c.to - c.from);
                for (int i = c.from; i < c.to; ++i) {
                    EXPECT_EQ(ll_get(slice, i - c.from), element(i));
                }
            }
            expectStillUsable(list);
            ll_deleteLinkedList(slice);
            ll_deleteLinkedList(list);
            return fired;
        });
        EXPECT_EQ(failures, c.allocations) << c.from << ".." << c.to;
    }
}

TEST(AllocationFailure, SaleRecordConstructorsAnswerNull) {
    char id[] = "12";
    char fecha[] = "2024-01-01";
    char tipo[] = "POLAROID_11x9";
    char cantidad[] = "3";
    char precio[] = "10.5";
    char cuit[] = "20-12345678-3";
    for (const bool withParameters : {false, true}) {
        const long failures = allocfail::eachFailure([&](long n) {
            allocfail::Failing failing(n);
            Revelado* revelado =
                withParameters ? revelado_newParametros(id, fecha, tipo, cantidad, precio, cuit)
                               : revelado_new();
            const bool fired = failing.fired();
            if (fired) {
                EXPECT_EQ(revelado, nullptr);
            } else {
                EXPECT_NE(revelado, nullptr);
            }
            std::free(revelado);
            return fired;
        });
        EXPECT_EQ(failures, 1) << withParameters;
    }
}

TEST(AllocationFailure, NewEmployeeAnswersNull) {
    const long failures = allocfail::eachFailure([](long n) {
        allocfail::Failing failing(n);
        Employee* employee = newEmployee(1, text("Ana"), text("Paz"), 10.0f, 2);
        const bool fired = failing.fired();
        if (fired) {
            EXPECT_EQ(employee, nullptr);
        } else {
            EXPECT_NE(employee, nullptr);
        }
        std::free(employee);
        return fired;
    });
    EXPECT_EQ(failures, 1);
}

TEST(AllocationFailure, ParserAnswersZeroAndLeavesTheListAsItWas) {
    // Three employees fit the first block of records; six hundred need a second one.
    const struct {
        int employees;
        long allocations; // the read buffer, blocks and their index, a node per employee
    } cases[] = {{3, 1 + 2 + 3}, {600, 1 + 4 + 600}};
    for (const auto& c : cases) {
        console::TempDir dir;
        std::string payroll = "id,nombre,horasTrabajadas\n";
        for (int i = 0; i < c.employees; ++i) {
            payroll += std::to_string(i) + ",Empleado " + std::to_string(i) + ",100\n";
        }
        console::writeFile(dir / "archivo.csv", payroll);
        std::string path = (dir / "archivo.csv").string();
        const long failures = allocfail::eachFailure([&](long n) {
            LinkedList* list = listOf(2);
            const Shape before = shapeOf(list);
            int result = 0;
            bool fired = false;
            long long mapped = 0;
            {
                allocfail::Failing failing(n);
                result = parser_parseEmpleados(path.data(), list);
                fired = failing.fired();
                mapped = failing.mappedBytes();
            }
            if (fired) {
                EXPECT_EQ(result, 0) << c.employees << " failing " << n;
                EXPECT_EQ(shapeOf(list), before) << c.employees << " failing " << n;
                EXPECT_EQ(mapped, 0) << "blocks of records left mapped, failing " << n;
            } else {
                EXPECT_EQ(result, 1);
                EXPECT_EQ(ll_len(list), 2 + c.employees);
            }
            expectStillUsable(list);
            ll_deleteLinkedList(list);
            return fired;
        });
        EXPECT_EQ(failures, c.allocations) << c.employees;
    }
}

} // namespace
