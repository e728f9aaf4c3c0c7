// Cutting a failing sequence of the model check down to a shortest one that still fails.
#include "modelOps.h"

#include <algorithm>

namespace modelCheck {

// The sequence cut down to a shortest one that still fails: chunks of it are dropped while it
// keeps failing, halving the chunks down to single operations, until no single operation can go.
// Stops early, with what it has, at the deadline.
std::vector<Op> shrink(std::vector<Op> ops, Verdict& verdict,
                       std::chrono::steady_clock::time_point deadline, bool& finished) {
    ops.resize(verdict.step + 1);
    // The sequence the failing step belongs to, on its own, most likely fails as well.
    size_t own = ops.size();
    while (own > 0 && ops[own - 1].kind != Kind::fresh) {
        own--;
    }
    if (own > 0) {
        const std::vector<Op> alone(ops.begin() + static_cast<long>(own), ops.end());
        const auto tried = run(alone);
        if (tried && tried->how != Verdict::agreed) {
            verdict = *tried;
            ops.assign(alone.begin(), alone.begin() + verdict.step + 1);
        }
    }
    size_t parts = 2;
    finished = false;
    while (std::chrono::steady_clock::now() < deadline) {
        if (ops.size() < 2) {
            finished = true;
            break;
        }
        const size_t chunk = (ops.size() + parts - 1) / parts;
        bool dropped = false;
        for (size_t start = 0;
             start < ops.size() && !dropped && std::chrono::steady_clock::now() < deadline;
             start += chunk) {
            std::vector<Op> candidate(ops.begin(), ops.begin() + static_cast<long>(start));
            candidate.insert(candidate.end(),
                             ops.begin() + static_cast<long>(std::min(start + chunk, ops.size())),
                             ops.end());
            const auto tried = run(candidate);
            if (tried && tried->how != Verdict::agreed) {
                verdict = *tried;
                candidate.resize(verdict.step + 1);
                ops = std::move(candidate);
                parts = std::max<size_t>(parts - 1, 2);
                dropped = true;
            }
        }
        if (!dropped) {
            if (parts >= ops.size()) {
                finished = true;
                break;
            }
            parts = std::min(parts * 2, ops.size());
        }
    }
    return ops;
}

} // namespace modelCheck
