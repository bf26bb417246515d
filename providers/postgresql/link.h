// One connection to the server, driven without blocking: every wait polls the socket against a
// deadline, so that neither a slow statement nor a vanished server holds a call past its timeout.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include <libpq-fe.h>

#include "providers/postgresql/cancel.h"
#include "providers/postgresql/parameters.h"

namespace orvanta::providers::postgresql {

struct ResultDeleter {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

class Link {
public:
    // Throws ProviderError: Timeout when the server does not finish the handshake within
    // `timeoutSeconds` (0: no limit), ConnectionFailed when it refuses.
    static std::unique_ptr<Link> Connect(const ConnectParameters& parameters, int timeoutSeconds);
    ~Link();
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    // False once the connection is lost or was closed; the session cannot be used again.
    bool Alive() const;
    const PGconn* Handle() const { return m_connection; }

    // Sends a text of one or more statements. Rows come back one result per row.
    void Send(const std::string& sql, int timeoutSeconds);
    // The next result of the text sent, or null once they all came.
    Result Next();
    // COPY ... FROM STDIN has no data from us: ends it, so that the server reports the failure.
    void RefuseCopyIn();
    // COPY ... TO STDOUT: reads and drops the data.
    void SkipCopyOut();
    // True when the statement ran past its timeout and a cancel request went out.
    bool CancelSent() const { return m_cancelSent; }
    int TimeoutSeconds() const { return m_timeoutSeconds; }

    // After a failure on our side in the middle of a statement: cancels it and reads what is
    // left, or closes the connection when the server does not answer in time. Never throws.
    void Settle() noexcept;
    // Called when a call ends: reaps the thread that sent a cancel request.
    void EndCall() noexcept;
    // Gives the connection up; later calls fail as on a lost connection.
    void Close() noexcept;

private:
    explicit Link(PGconn* connection) : m_connection(connection) {}

    // Waits for the socket; on the deadline sends a cancel request and allows a grace period for
    // the server to answer it, after which the connection is closed and the wait throws.
    void Wait(short events);
    void RequestCancel();
    [[noreturn]] void Lost();

    PGconn* m_connection;
    std::optional<std::chrono::steady_clock::time_point> m_deadline;
    int m_timeoutSeconds = 0;
    bool m_cancelSent = false;
    std::unique_ptr<CancelRequest> m_cancel;
};

}  // namespace orvanta::providers::postgresql
