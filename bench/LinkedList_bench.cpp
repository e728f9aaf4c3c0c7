// The list's appends, in-order reads and searches beside std::forward_list and std::vector
// doing the same over the same pointers.
#include "LinkedList.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <forward_list>
#include <vector>

namespace {

// n distinct element pointers, in the order they are appended.
std::vector<void*> elementsFor(benchmark::State& state) {
    static std::vector<int> storage(1'000'000);
    std::vector<void*> elements;
    for (int64_t i = 0; i < state.range(0); ++i) {
        elements.push_back(&storage[static_cast<size_t>(i)]);
    }
    return elements;
}

LinkedList* listOf(const std::vector<void*>& elements) {
    LinkedList* list = ll_newLinkedList();
    for (void* element : elements) {
        ll_add(list, element);
    }
    return list;
}

std::forward_list<void*> forwardListOf(const std::vector<void*>& elements) {
    return {elements.begin(), elements.end()};
}

void finish(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void addLinkedList(benchmark::State& state) {
    const std::vector<void*> elements = elementsFor(state);
    for (auto _ : state) {
        LinkedList* list = listOf(elements);
        benchmark::DoNotOptimize(list->pFirstNode);
        ll_deleteLinkedList(list);
    }
    finish(state);
}

void addForwardList(benchmark::State& state) {
    const std::vector<void*> elements = elementsFor(state);
    for (auto _ : state) {
        std::forward_list<void*> list;
        auto tail = list.before_begin();
        for (void* element : elements) {
            tail = list.insert_after(tail, element);
        }
        benchmark::DoNotOptimize(list.front());
    }
    finish(state);
}

void addVector(benchmark::State& state) {
    const std::vector<void*> elements = elementsFor(state);
    for (auto _ : state) {
        std::vector<void*> list;
        for (void* element : elements) {
            list.push_back(element);
        }
        benchmark::DoNotOptimize(list.data());
    }
    finish(state);
}

void readInOrderLinkedList(benchmark::State& state) {
    LinkedList* list = listOf(elementsFor(state));
    for (auto _ : state) {
        const int length = ll_len(list);
        for (int i = 0; i < length; ++i) {
            benchmark::DoNotOptimize(ll_get(list, i));
        }
    }
    ll_deleteLinkedList(list);
    finish(state);
}

void readInOrderForwardList(benchmark::State& state) {
    const std::forward_list<void*> list = forwardListOf(elementsFor(state));
    for (auto _ : state) {
        for (void* element : list) {
            benchmark::DoNotOptimize(element);
        }
    }
    finish(state);
}

void readInOrderVector(benchmark::State& state) {
    const std::vector<void*> list = elementsFor(state);
    for (auto _ : state) {
        for (size_t i = 0; i < list.size(); ++i) {
            benchmark::DoNotOptimize(list[i]);
        }
    }
    finish(state);
}

// Each search looks for the last element, the longest walk.
void indexOfLinkedList(benchmark::State& state) {
    const std::vector<void*> elements = elementsFor(state);
    LinkedList* list = listOf(elements);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ll_indexOf(list, elements.back()));
    }
    ll_deleteLinkedList(list);
    finish(state);
}

void indexOfForwardList(benchmark::State& state) {
    const std::vector<void*> elements = elementsFor(state);
    const std::forward_list<void*> list = forwardListOf(elements);
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::find(list.begin(), list.end(), elements.back()));
    }
    finish(state);
}

void indexOfVector(benchmark::State& state) {
    const std::vector<void*> list = elementsFor(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::find(list.begin(), list.end(), list.back()));
    }
    finish(state);
}

// n = 1e3, 1e4, 1e5, 1e6.
void sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->RangeMultiplier(10)->Range(1'000, 1'000'000);
}

} // namespace

BENCHMARK(addLinkedList)->Apply(sizes);
BENCHMARK(addForwardList)->Apply(sizes);
BENCHMARK(addVector)->Apply(sizes);
BENCHMARK(readInOrderLinkedList)->Apply(sizes);
BENCHMARK(readInOrderForwardList)->Apply(sizes);
BENCHMARK(readInOrderVector)->Apply(sizes);
BENCHMARK(indexOfLinkedList)->Apply(sizes);
BENCHMARK(indexOfForwardList)->Apply(sizes);
BENCHMARK(indexOfVector)->Apply(sizes);
