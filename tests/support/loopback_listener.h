// A TCP socket listening on a free loopback port. Until someone accepts, the kernel completes each
// handshake and then nothing answers, as with a server that hangs before it speaks.
#pragma once

namespace orvanta::testing {

class LoopbackListener {
public:
    // Throws std::runtime_error when no port can be had.
    LoopbackListener();
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    int Socket() const { return m_socket; }
    int Port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = 0;
};

}  // namespace orvanta::testing
