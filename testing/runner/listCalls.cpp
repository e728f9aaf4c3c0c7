// The list wrappers: each records its call, as "ll_pop(list, 2)", then calls the list's own
// function, found by the linker's --wrap as __real_<name>. Those are weak references: a list
// without some function still links, the reference is null and the call fails the case.
#include "listCalls.h"

#include "LinkedList.h"
#include "caseMonitor.h"
#include "processTree.h"

#include <pthread.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

bool recording = false;
bool isolatedCase = false;

// Exit status of a case's process that called a function the list lacks.
constexpr int kMissingStatus = 125;

// Formats a call into a fixed field, cutting what does not fit; allocates nothing, since it runs
// inside the list's calls, perhaps while the list's heap is broken.
class CallText {
  public:
    explicit CallText(const char* name) {
        put(name);
        put("(");
    }
    void argument(LinkedList* list) {
        separate();
        put(list == nullptr ? "NULL" : lists_++ == 0 ? "list" : "list2");
    }
    void argument(int value) {
        separate();
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
    void argument(const void* pointer) {
        separate();
        putAddress(reinterpret_cast<uintptr_t>(pointer));
    }
    // Callbacks show as their address, as any other pointer.
    template <typename Result> void argument(Result (*callback)(void*)) {
        separate();
        putAddress(reinterpret_cast<uintptr_t>(callback));
    }
    void finishInto(char (&field)[sizeof CaseMonitor::lastCall]) {
        put(")");
        copyField(field, text_);
    }

  private:
    void separate() {
        if (arguments_++ > 0) {
            put(", ");
        }
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
    void put(const char* text) {
        while (*text != '\0' && used_ + 1 < sizeof text_) {
            text_[used_++] = *text++;
        }
        text_[used_] = '\0';
    }

    char text_[sizeof CaseMonitor::lastCall] = {};
    size_t used_ = 0;
    int arguments_ = 0;
    int lists_ = 0;
};

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
    leaveProcess(kMissingStatus);
}

// One call through a wrapper: records it when it is the outermost list call of the case, counts
// it as under way while it runs, then hands over to the list.
template <typename Result, typename... Parameters> struct ListCall {
    const char* name;
    Result (*real)(Parameters...);

    Result operator()(Parameters... arguments) const {
        CaseMonitor& monitor = caseMonitor();
        if (recording && monitor.callDepth == 0) {
            CallText text(name);
            (text.argument(arguments), ...);
            text.finishInto(monitor.lastCall);
        }
        if (real == nullptr) {
            failMissing(name);
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
        return real(arguments...);
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
