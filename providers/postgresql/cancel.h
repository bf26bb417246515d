#pragma once

#include <chrono>
#include <memory>
#include <thread>

#include <libpq-fe.h>

namespace orvanta::providers::postgresql {

// Sends a cancel request from a thread of its own: PQcancel opens a new connection and waits for
// the server to close it, with no timeout, and a server that has stopped answering would hold
// the caller there for as long as it likes.
class CancelRequest {
public:
    // Takes `cancel` over. Null when no thread could be started; no request is sent then.
    static std::unique_ptr<CancelRequest> Start(PGcancel* cancel);
    // Joins the thread when it has finished, and otherwise lets it finish on its own.
    ~CancelRequest();

    // True once the request went out and the server closed its connection.
    bool WaitFor(std::chrono::milliseconds time);

private:
    struct State;
    CancelRequest() = default;

    std::shared_ptr<State> m_state;
    std::thread m_thread;
};

}  // namespace orvanta::providers::postgresql
