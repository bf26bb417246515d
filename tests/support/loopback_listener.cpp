#include "support/loopback_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace orvanta::testing {

LoopbackListener::LoopbackListener() {
    m_socket = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (m_socket < 0 || bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(m_socket, 8) != 0 || getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        if (m_socket >= 0) close(m_socket);
        throw std::runtime_error("no loopback port to listen on");
    }
    m_port = ntohs(address.sin_port);
}

LoopbackListener::~LoopbackListener() { close(m_socket); }

}  // namespace orvanta::testing
