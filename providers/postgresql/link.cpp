#include "providers/postgresql/link.h"

#include <poll.h>

#include <cerrno>
#include <climits>
#include <string>

#include "providers/postgresql/errors.h"
#include "unicode/utf.h"

namespace orvanta::providers::postgresql {
namespace {

using Clock = std::chrono::steady_clock;

// How long a server may take to answer a cancel request before the connection is given up.
constexpr std::chrono::seconds kCancelGrace(5);

std::optional<Clock::time_point> DeadlineAfter(int seconds) {
    if (seconds <= 0) return std::nullopt;
    return Clock::now() + std::chrono::seconds(seconds);
}

// Milliseconds until `deadline`, rounded up so that a wait never ends just short of it.
int MillisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : left > INT_MAX ? INT_MAX : static_cast<int>(left);
}

// False when the deadline passed first. Errors of the socket are left for libpq to find.
bool WaitForSocket(int socket, short events, const std::optional<Clock::time_point>& deadline) {
    if (socket < 0) return true;
    for (;;) {
        const int timeout = deadline ? MillisecondsUntil(*deadline) : -1;
        pollfd descriptor{socket, events, 0};
        const int ready = poll(&descriptor, 1, timeout);
        if (ready > 0 || (ready < 0 && errno != EINTR)) return true;
        if (ready == 0 && deadline && Clock::now() >= *deadline) return false;
    }
}

void IgnoreNotice(void*, const char*) {}

std::u16string Seconds(int seconds) {
    std::u16string text;
    for (char c : std::to_string(seconds)) text += static_cast<char16_t>(c);
    return text + (seconds == 1 ? u" second" : u" seconds");
}

}  // namespace

std::unique_ptr<Link> Link::Connect(const ConnectParameters& parameters, int timeoutSeconds) {
    const std::vector<const char*> keywords = parameters.Keywords();
    const std::vector<const char*> values = parameters.Values();
    // expand_dbname 0: a database name is only ever a name, never a conninfo text.
    PGconn* connection = PQconnectStartParams(keywords.data(), values.data(), 0);
    if (!connection) throw std::bad_alloc();
    std::unique_ptr<Link> link(new Link(connection));
    // Notices would go to the host's standard error otherwise.
    PQsetNoticeProcessor(connection, IgnoreNotice, nullptr);

    const auto refused = [&] {
        return ProviderError(ErrorKind::ConnectionFailed, parameters.Hide(ClientMessage(connection)), "08001");
    };
    if (PQstatus(connection) == CONNECTION_BAD) throw refused();
    const std::optional<Clock::time_point> deadline = DeadlineAfter(timeoutSeconds);
    // libpq's own connect_timeout only works in its blocking call; this loop keeps the deadline
    // across every address and every step of the handshake.
    for (PostgresPollingStatusType state = PGRES_POLLING_WRITING; state != PGRES_POLLING_OK;
         state = PQconnectPoll(connection)) {
        if (state == PGRES_POLLING_FAILED) throw refused();
        const short events = state == PGRES_POLLING_READING ? POLLIN : POLLOUT;
        if (!WaitForSocket(PQsocket(connection), events, deadline)) {
            const std::string* host = parameters.Find("host");
            std::u16string where;
            if (host && !host->empty()) {
                unicode::AppendUtf16(*host, where);
                where = u" at '" + where + u"'";
            }
            throw ProviderError(ErrorKind::Timeout,
                                parameters.Hide(u"The PostgreSQL server" + where + u" did not accept the connection within " +
                                                Seconds(timeoutSeconds) + u"."),
                                "08001");
        }
    }
    if (PQsetnonblocking(connection, 1) != 0) throw refused();
    return link;
}

Link::~Link() {
    Close();
    m_cancel.reset();
}

bool Link::Alive() const { return m_connection && PQstatus(m_connection) == CONNECTION_OK; }

void Link::Send(const std::string& sql, int timeoutSeconds) {
    if (!Alive()) {
        throw ProviderError(ErrorKind::ConnectionFailed,
                            u"The connection to the PostgreSQL server was lost or closed; open the connection again.");
    }
    m_timeoutSeconds = timeoutSeconds;
    m_deadline = DeadlineAfter(timeoutSeconds);
    m_cancelSent = false;
    if (!PQsendQuery(m_connection, sql.c_str())) {
        if (PQstatus(m_connection) == CONNECTION_BAD) Lost();
        throw ProviderError(ErrorKind::General, ClientMessage(m_connection));
    }
    // Each row arrives as its own small result: memory stays that of one row, whatever the size
    // of the result.
    PQsetSingleRowMode(m_connection);
}

Result Link::Next() {
    for (;;) {
        if (!m_connection) return nullptr;
        // Not busy also once the connection dropped: then libpq hands out the error it saw.
        if (!PQisBusy(m_connection)) return Result(PQgetResult(m_connection));
        const int flushed = PQflush(m_connection);
        if (flushed < 0) Lost();
        Wait(static_cast<short>(flushed ? POLLIN | POLLOUT : POLLIN));
        if (!PQconsumeInput(m_connection) && PQstatus(m_connection) != CONNECTION_BAD) Lost();
    }
}

void Link::RefuseCopyIn() {
    for (;;) {
        const int sent = PQputCopyEnd(m_connection, "COPY FROM STDIN is not supported by this client");
        if (sent > 0) return;
        if (sent < 0) Lost();
        Wait(POLLOUT);
    }
}

void Link::SkipCopyOut() {
    for (;;) {
        char* data = nullptr;
        const int length = PQgetCopyData(m_connection, &data, 1);
        if (length > 0) {
            PQfreemem(data);
            continue;
        }
        if (length == -1) return;  // the COPY's own result follows
        if (length == -2) {
            if (PQstatus(m_connection) == CONNECTION_BAD) return;
            Lost();
        }
        Wait(POLLIN);
        if (!PQconsumeInput(m_connection) && PQstatus(m_connection) != CONNECTION_BAD) Lost();
    }
}

void Link::Settle() noexcept {
    try {
        if (!Alive() || PQtransactionStatus(m_connection) != PQTRANS_ACTIVE) return;
        if (!m_cancelSent) RequestCancel();
        while (Result result = Next()) {
            switch (PQresultStatus(result.get())) {
                case PGRES_COPY_IN: RefuseCopyIn(); break;
                case PGRES_COPY_OUT: SkipCopyOut(); break;
                case PGRES_COPY_BOTH: Close(); return;
                default: break;
            }
        }
    } catch (...) {
        Close();
    }
}

void Link::EndCall() noexcept {
    m_deadline.reset();
    if (m_cancel) {
        m_cancel->WaitFor(std::chrono::seconds(1));
        m_cancel.reset();
    }
}

void Link::Wait(short events) {
    for (;;) {
        if (m_deadline && Clock::now() >= *m_deadline) {
            if (m_cancelSent) {
                Close();
                throw ProviderError(ErrorKind::Timeout,
                                    u"The command did not finish within its timeout of " + Seconds(m_timeoutSeconds) +
                                        u", and the server did not answer the cancel request: the connection was closed.");
            }
            RequestCancel();
            continue;
        }
        if (WaitForSocket(PQsocket(m_connection), events, m_deadline)) return;
    }
}

void Link::RequestCancel() {
    m_cancelSent = true;
    m_deadline = Clock::now() + kCancelGrace;
    if (m_cancel) return;
    if (PGcancel* cancel = PQgetCancel(m_connection)) m_cancel = CancelRequest::Start(cancel);
}

void Link::Lost() {
    std::u16string message = ClientMessage(m_connection);
    Close();
    throw ProviderError(ErrorKind::ConnectionFailed, std::move(message));
}

void Link::Close() noexcept {
    if (!m_connection) return;
    PQfinish(m_connection);
    m_connection = nullptr;
}

}  // namespace orvanta::providers::postgresql
