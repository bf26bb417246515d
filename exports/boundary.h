// Nothing crosses the exported boundary: every exported function runs its body through here.
#pragma once

#include <mutex>

namespace orvanta::exports {

// One call at a time: the shared connection is not made for overlapping use, and a host that
// calls from several threads must not corrupt it.
inline constinit std::mutex g_callLock;

template <class Result, class Body>
Result AtBoundary(Result failed, Body&& body) noexcept {
    try {
        const std::lock_guard lock(g_callLock);
        return body();
    } catch (...) {
        return failed;
    }
}

}  // namespace orvanta::exports
