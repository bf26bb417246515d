// A loopback server that speaks just enough of the PostgreSQL protocol to let a client log in,
// answers every query with an empty result, and goes silent while it is told to stall, as a
// server that hangs does. Cancel requests are taken and dropped, as the postmaster takes them,
// or, while it holds them, left open without an answer.
#pragma once

#include <atomic>
#include <thread>

#include "support/loopback_listener.h"

namespace orvanta::testing {

class FakePostgresServer {
public:
    FakePostgresServer();
    ~FakePostgresServer();
    FakePostgresServer(const FakePostgresServer&) = delete;
    FakePostgresServer& operator=(const FakePostgresServer&) = delete;

    int Port() const { return m_listener.Port(); }
    void SetStalled(bool stalled) { m_stalled = stalled; }
    void SetHoldingCancelRequests(bool holding) { m_holdingCancels = holding; }

private:
    void Serve();

    LoopbackListener m_listener;
    int m_wake[2] = {-1, -1};
    std::atomic<bool> m_stalled{false};
    std::atomic<bool> m_holdingCancels{false};
    std::thread m_thread;
};

}  // namespace orvanta::testing
