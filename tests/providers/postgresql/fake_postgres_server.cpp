#include "fake_postgres_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvanta::testing {
namespace {

constexpr std::uint32_t kSslRequest = 80877103;
constexpr std::uint32_t kGssRequest = 80877104;
constexpr std::uint32_t kCancelRequest = 80877102;

std::uint32_t ReadInt32(const std::string& bytes, std::size_t at) {
    std::uint32_t value;
    std::memcpy(&value, bytes.data() + at, 4);
    return ntohl(value);
}

void AppendMessage(std::string& out, char type, const std::string& body) {
    out += type;
    const std::uint32_t length = htonl(static_cast<std::uint32_t>(body.size() + 4));
    out.append(reinterpret_cast<const char*>(&length), 4);
    out += body;
}

std::string Int32(std::uint32_t value) {
    value = htonl(value);
    return std::string(reinterpret_cast<const char*>(&value), 4);
}

// One client connection: what it sent so far and whether it has logged in.
struct Client {
    int socket;
    std::string input;
    bool started = false;
    bool ignored = false;  // a cancel request held open
};

// Answers every whole message in `client.input`; false when the connection should close.
bool Answer(Client& client, bool stalled, bool holdCancels) {
    if (client.ignored) return true;
    for (;;) {
        const std::size_t header = client.started ? 5 : 4;
        if (client.input.size() < header) return true;
        const std::size_t length = ReadInt32(client.input, header - 4) + (client.started ? 1 : 0);
        if (client.input.size() < length) return true;
        const std::string message = client.input.substr(0, length);
        client.input.erase(0, length);

        std::string reply;
        if (!client.started) {
            const std::uint32_t code = ReadInt32(message, 4);
            if (code == kCancelRequest) {
                client.ignored = holdCancels;
                return holdCancels;
            }
            if (code == kSslRequest || code == kGssRequest) {
                reply = "N";
            } else {
                client.started = true;
                AppendMessage(reply, 'R', Int32(0));                       // AuthenticationOk
                AppendMessage(reply, 'K', Int32(4242) + Int32(1234));      // BackendKeyData
                AppendMessage(reply, 'Z', "I");                            // ReadyForQuery
            }
        } else if (message[0] == 'X') {
            return false;
        } else if (message[0] == 'Q' && !stalled) {
            AppendMessage(reply, 'I', "");  // EmptyQueryResponse
            AppendMessage(reply, 'Z', "I");
        }
        if (!reply.empty() && send(client.socket, reply.data(), reply.size(), MSG_NOSIGNAL) < 0) return false;
    }
}

}  // namespace

FakePostgresServer::FakePostgresServer() {
    if (pipe(m_wake) != 0) throw std::runtime_error("the fake server cannot make its wake-up pipe");
    m_thread = std::thread([this] { Serve(); });
}

FakePostgresServer::~FakePostgresServer() {
    (void)!write(m_wake[1], "x", 1);
    m_thread.join();
    close(m_wake[0]);
    close(m_wake[1]);
}

void FakePostgresServer::Serve() {
    std::vector<Client> clients;
    for (;;) {
        std::vector<pollfd> watched{{m_wake[0], POLLIN, 0}, {m_listener.Socket(), POLLIN, 0}};
        for (const Client& client : clients) watched.push_back({client.socket, POLLIN, 0});
        if (poll(watched.data(), watched.size(), -1) < 0) continue;
        if (watched[0].revents) break;
        if (watched[1].revents & POLLIN) {
            const int accepted = accept(m_listener.Socket(), nullptr, nullptr);
            if (accepted >= 0) clients.push_back(Client{accepted, {}, false, false});
        }
        for (std::size_t i = 2; i < watched.size(); ++i) {
            if (!watched[i].revents) continue;
            Client& client = clients[i - 2];
            char buffer[4096];
            const ssize_t received = recv(client.socket, buffer, sizeof buffer, 0);
            if (received > 0) client.input.append(buffer, static_cast<std::size_t>(received));
            if (received <= 0 || !Answer(client, m_stalled, m_holdingCancels)) {
                close(client.socket);
                client.socket = -1;
            }
        }
        std::erase_if(clients, [](const Client& client) { return client.socket < 0; });
    }
    for (const Client& client : clients) close(client.socket);
}

}  // namespace orvanta::testing
