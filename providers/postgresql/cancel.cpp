#include "providers/postgresql/cancel.h"

#include <pthread.h>
#include <signal.h>

#include <condition_variable>
#include <mutex>
#include <system_error>

namespace orvanta::providers::postgresql {

struct CancelRequest::State {
    std::mutex mutex;
    std::condition_variable changed;
    bool finished = false;
};

std::unique_ptr<CancelRequest> CancelRequest::Start(PGcancel* cancel) {
    std::unique_ptr<CancelRequest> request(new CancelRequest);
    request->m_state = std::make_shared<State>();
    try {
        request->m_thread = std::thread([cancel, state = request->m_state] {
            // A server that resets the connection must not stop the host with SIGPIPE.
            sigset_t pipe;
            sigemptyset(&pipe);
            sigaddset(&pipe, SIGPIPE);
            pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
            char error[256];
            PQcancel(cancel, error, sizeof error);
            PQfreeCancel(cancel);
            const std::lock_guard lock(state->mutex);
            state->finished = true;
            state->changed.notify_all();
        });
    } catch (const std::system_error&) {
        PQfreeCancel(cancel);
        return nullptr;
    }
    return request;
}

CancelRequest::~CancelRequest() {
    if (WaitFor(std::chrono::milliseconds(0))) {
        m_thread.join();
    } else {
        m_thread.detach();  // it owns everything it touches
    }
}

bool CancelRequest::WaitFor(std::chrono::milliseconds time) {
    std::unique_lock lock(m_state->mutex);
    return m_state->changed.wait_for(lock, time, [&] { return m_state->finished; });
}

}  // namespace orvanta::providers::postgresql
