// The list wrappers: each records its call, as "ll_pop(list, 2)", then calls the list's own
// function, found by the linker's --wrap as __real_<name>. Those are weak references: a list
// without some function still links, the reference is null and the call fails the case.
#include "listCalls.h"

#include "LinkedList.h"
#include "caseMonitor.h"
#include "heapCounter.h"
#include "processTree.h"

#include <pthread.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool recording = false;
bool isolatedCase = false;

// Exit status of a case's process that called a function the list lacks.
constexpr int MISSING_STATUS = 125;

// Text in a fixed field, cut where it does not fit; allocates nothing, since it runs inside the
// list's calls, perhaps while the list's heap is broken.
template <size_t N> class FixedText {
  public:
    explicit FixedText(char (&field)[N]) : text_(field) {
        text_[0] = '\0';
    }
    void put(const char* text) {
        while (*text != '\0' && used_ + 1 < N) {
            text_[used_++] = *text++;
        }
        text_[used_] = '\0';
    }
    void putNumber(int value) {
        char digits[12];
        unsigned magnitude = static_cast<unsigned>(value);
        if (value < 0) {
            magnitude = 0u - magnitude;
        }
        size_t at = sizeof digits;
        digits[--at] = '\0';
        do {
            digits[--at] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0) {
            digits[--at] = '-';
        }
        put(digits + at);
    }
    void putAddress(uintptr_t address) {
        if (address == 0) {
            put("NULL");
            return;
        }
        char hex[2 + 2 * sizeof address + 1];
        size_t at = sizeof hex;
        hex[--at] = '\0';
        for (; address != 0; address >>= 4) {
            hex[--at] = "0123456789abcdef"[address & 0xf];
        }
        hex[--at] = 'x';
        hex[--at] = '0';
        put(hex + at);
    }

  private:
    char* text_;
    size_t used_ = 0;
};

// The latest entry of the case's names for address, or -1.
int nameIndex(const void* address) {
    const CaseMonitor& monitor = caseMonitor();
    for (int i = static_cast<int>(monitor.namedObjects) - 1; i >= 0; i--) {
        if (monitor.names[i].address == address) {
            return i;
        }
    }
    return -1;
}

// A new entry of the case's names, or nullptr when they are full (the object keeps its address).
NamedObject* addName(const void* address) {
    CaseMonitor& monitor = caseMonitor();
    if (monitor.namedObjects >= NAMED_OBJECTS) {
        return nullptr;
    }
    NamedObject& entry = monitor.names[monitor.namedObjects++];
    entry.address = address;
    entry.name[0] = '\0';
    entry.madeBy[0] = '\0';
    return &entry;
}

// The name a list returned by the function called gets: the first new list is "list", the next
// "other", then "list3" on; the sub-lists "sub", "sub2" on.
void nameReturnedList(NamedObject& entry, const char* function) {
    const bool sub = strcmp(function, "ll_subList") == 0;
    const CaseMonitor& monitor = caseMonitor();
    int made = 1; // this one, whose call is not written yet
    for (unsigned i = 0; i < monitor.namedObjects; i++) {
        const char* by = monitor.names[i].madeBy;
        made += strncmp(by, function, strlen(function)) == 0 && by[strlen(function)] == '(';
    }
    FixedText text(entry.name);
    if (made == 1) {
        text.put(sub ? "sub" : "list");
    } else if (made == 2 && !sub) {
        text.put("other");
    } else {
        text.put(sub ? "sub" : "list");
        text.putNumber(made);
    }
}

// A call as "ll_pop(sub, 2)": lists and elements by their names; other lists by their place
// among the arguments, callbacks as f unless named, and unnamed pointers by their address.
class CallText {
  public:
    CallText(CallRecord& record, const char* name) : record_(record), text_(record.call) {
        record_.list = -1;
        text_.put(name);
        text_.put("(");
    }
    void argument(LinkedList* list) {
        separate();
        const int named = list == nullptr ? -1 : nameIndex(list);
        if (named >= 0) {
            text_.put(caseMonitor().names[named].name);
        } else {
            text_.put(list == nullptr ? "NULL" : lists_ == 0 ? "list" : "list2");
        }
        if (list != nullptr && lists_++ == 0) {
            record_.list = named;
        }
    }
    void argument(int value) {
        separate();
        text_.putNumber(value);
    }
    void argument(const void* pointer) {
        separate();
        putPointer(text_, pointer);
    }
    template <typename Result> void argument(Result (*callback)(void*)) {
        separate();
        const int named =
            callback == nullptr ? -1 : nameIndex(reinterpret_cast<const void*>(callback));
        // The cases' reports call a callback f; a case with two names the other.
        text_.put(callback == nullptr ? "NULL"
                  : named >= 0        ? caseMonitor().names[named].name
                                      : "f");
    }
    void finish() {
        text_.put(")");
    }

    // A pointer by its name, else its address.
    template <size_t N> static void putPointer(FixedText<N>& text, const void* pointer) {
        const int named = pointer == nullptr ? -1 : nameIndex(pointer);
        if (named >= 0) {
            text.put(caseMonitor().names[named].name);
        } else {
            text.putAddress(reinterpret_cast<uintptr_t>(pointer));
        }
    }

  private:
    void separate() {
        if (arguments_++ > 0) {
            text_.put(", ");
        }
    }

    CallRecord& record_;
    FixedText<sizeof CallRecord::call> text_;
    int arguments_ = 0;
    int lists_ = 0;
};

// A call's result: a number; a list, named anew after the call that made it; an element by its
// name; any other address.
void putResult(CallRecord& record, const char*, int result) {
    record.value = result;
    FixedText(record.result).putNumber(result);
}
void putResult(CallRecord& record, const char* function, LinkedList* result) {
    record.value = static_cast<long long>(reinterpret_cast<uintptr_t>(result));
    NamedObject* entry = result == nullptr ? nullptr : addName(result);
    if (entry != nullptr) {
        nameReturnedList(*entry, function);
        copyField(entry->madeBy, record.call);
    }
    FixedText text(record.result);
    CallText::putPointer(text, result);
}
void putResult(CallRecord& record, const char*, const void* result) {
    record.value = static_cast<long long>(reinterpret_cast<uintptr_t>(result));
    FixedText text(record.result);
    CallText::putPointer(text, result);
}

// Ends a call to a function the list does not have: the case's process leaves with the name in
// the monitor; the runner itself, under --no-fork, aborts with a message.
[[noreturn]] void failMissing(const char* name) {
    CaseMonitor& monitor = caseMonitor();
    if (monitor.missing[0] == '\0') {
        copyField(monitor.missing, name);
    }
    if (recording && !isolatedCase) {
        fprintf(stderr, "probeRunner: `%s` is not implemented\n", name);
        abort();
    }
    leaveProcess(MISSING_STATUS);
}

// One call through a wrapper: records it and then its result when it is the outermost list call
// of the case, counts it as under way while it runs, and tells the heap counter whose blocks the
// list allocates meanwhile.
template <typename Result, typename... Parameters> struct ListCall {
    const char* name;
    Result (*real)(Parameters...);

    Result operator()(Parameters... arguments) const {
        CaseMonitor& monitor = caseMonitor();
        CallRecord* record = nullptr;
        if (recording && monitor.callDepth == 0) {
            record = &monitor.trail[monitor.calls % TRAIL_LENGTH];
            record->returned = false;
            record->result[0] = '\0';
            CallText text(*record, name);
            (text.argument(arguments), ...);
            text.finish();
            monitor.calls++;
        }
        if (real == nullptr) {
            failMissing(name);
        }
        if (record == nullptr) {
            return real(arguments...);
        }
        struct UnderWay {
            int& depth;
            explicit UnderWay(int& d) : depth(d) {
                depth++;
            }
            ~UnderWay() {
                depth--;
            }
            UnderWay(const UnderWay&) = delete;
            UnderWay& operator=(const UnderWay&) = delete;
        } underWay(monitor.callDepth);
        heapEnterCall(record->call);
        const Result result = real(arguments...);
        heapLeaveCall();
        putResult(*record, name, result);
        record->returned = true;
        return result;
    }
};

// The call object for a wrapper, its types taken from the list's function.
template <typename Result, typename... Parameters>
ListCall<Result, Parameters...> listCall(const char* name, Result (*real)(Parameters...)) {
    return {name, real};
}

} // namespace

void startListCalls(bool isolated) {
    static const bool forkHandler = [] {
        pthread_atfork(nullptr, nullptr, stopListCalls);
        return true;
    }();
    (void)forkHandler;
    isolatedCase = isolated;
    recording = true;
}

void stopListCalls() {
    recording = false;
}

void utest_name(const void* object, const char* name) {
    const int named = nameIndex(object);
    NamedObject* entry = named >= 0 ? &caseMonitor().names[named] : addName(object);
    if (entry != nullptr) {
        copyField(entry->name, name);
    }
}

unsigned utest_listCallsMade() {
    return caseMonitor().calls;
}

void utest_blameCall(unsigned callsMade) {
    CaseMonitor& monitor = caseMonitor();
    if (monitor.blamed < 0 && callsMade > 0) {
        monitor.blamed = static_cast<int>(callsMade - 1);
    }
}

// The linker fixes these names: __wrap_<name> receives the calls to <name>, and __real_<name> is
// the list's own function. The macro's arguments are a type and parameter lists, which
// parentheses would break.
// NOLINTBEGIN(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp,bugprone-macro-parentheses)
extern "C" {
#define LIST_FUNCTION(Result, name, Parameters, Arguments)                                         \
    Result __real_##name Parameters __attribute__((weak));                                         \
    Result __wrap_##name Parameters {                                                              \
        return listCall(#name, __real_##name) Arguments;                                           \
    }
#include "listFunctions.h"
#undef LIST_FUNCTION
}
// NOLINTEND(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp,bugprone-macro-parentheses)
