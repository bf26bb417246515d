#include "providers/postgresql/session.h"

#include <optional>
#include <string>

#include <libpq-fe.h>

#include "providers/postgresql/errors.h"
#include "providers/postgresql/link.h"
#include "providers/postgresql/parameters.h"
#include "providers/postgresql/rows.h"
#include "providers/postgresql/statement.h"
#include "providers/postgresql/types.h"
#include "providers/postgresql/values.h"

namespace orvanta::providers::postgresql {
namespace {

class PostgresSession final : public Session {
public:
    PostgresSession(std::unique_ptr<Link> link, int commandTimeout)
        : m_link(std::move(link)), m_commandTimeout(commandTimeout) {}

    // Dates are read in the ISO style; a later change of DateStyle makes them arrive as text.
    // `timeoutSeconds` bounds each of these statements.
    void Prepare(int timeoutSeconds) {
        Scalar("SET DateStyle TO ISO", timeoutSeconds);
        ReadMoneyFormat(timeoutSeconds);
    }

    std::int64_t Execute(std::u16string_view sql) override {
        std::int64_t changed = 0;
        bool counted = false;
        Run(sql, [&](const PGresult* result) {
            if (const std::optional<std::int64_t> rows = RowsChanged(result)) {
                changed += *rows;
                counted = true;
            }
        });
        return counted ? changed : -1;
    }

    bool Query(std::u16string_view sql, ResultSet& result) override {
        RowReader reader(result, m_values);
        Run(sql, [&](const PGresult* part) { reader.Take(part); });
        return reader.Found();
    }

    void SetCommandTimeout(int seconds) override { m_commandTimeout = seconds; }

private:
    // Runs every statement of `sql`, handing each result to `consume` until one fails; the results
    // after a failure are still read, so that the connection is ready for the next call.
    template <class Consume>
    void Run(std::u16string_view sql, Consume&& consume) {
        const std::string text = CommandText(sql);
        m_link->Send(text, m_commandTimeout);
        std::optional<ProviderError> failure;
        try {
            while (const Result result = m_link->Next()) {
                const PGresult* part = result.get();
                switch (PQresultStatus(part)) {
                    case PGRES_FATAL_ERROR:
                    case PGRES_NONFATAL_ERROR:
                    case PGRES_BAD_RESPONSE:
                        if (!failure) failure = Failure(part);
                        break;
                    case PGRES_COPY_IN:
                        if (!failure) {
                            failure = ProviderError(ErrorKind::CommandRejected,
                                                    u"COPY FROM STDIN needs data from the client, which this "
                                                    u"provider has no way to send.",
                                                    "0A000");
                        }
                        m_link->RefuseCopyIn();
                        break;
                    case PGRES_COPY_OUT:
                        m_link->SkipCopyOut();
                        break;
                    case PGRES_COPY_BOTH:
                        m_link->Close();
                        throw ProviderError(ErrorKind::CommandRejected,
                                            u"Replication commands are not supported; the connection was closed.");
                    default:
                        NoteSettings(part);
                        if (!failure) consume(part);
                        break;
                }
            }
        } catch (...) {
            m_link->Settle();
            m_link->EndCall();
            throw;
        }
        m_link->EndCall();
        RefreshMoneyFormat();
        if (failure) throw std::move(*failure);
    }

    ProviderError Failure(const PGresult* result) const {
        ProviderError error = ResultError(result, m_link->Handle());
        if (!m_link->CancelSent() || error.Kind() != ErrorKind::Timeout) return error;
        std::u16string seconds;
        for (char c : std::to_string(m_link->TimeoutSeconds())) seconds += static_cast<char16_t>(c);
        return ProviderError(ErrorKind::Timeout,
                             u"The command did not finish within its timeout of " + seconds +
                                 u" s and was cancelled: " + error.Message(),
                             error.SqlState(), error.NativeCode());
    }

    // The first value of a statement of our own, or nothing when it failed or returned none.
    std::optional<std::string> Scalar(const char* sql, int timeoutSeconds) {
        m_link->Send(sql, timeoutSeconds);
        std::optional<std::string> value;
        try {
            while (const Result result = m_link->Next()) {
                const ExecStatusType status = PQresultStatus(result.get());
                if ((status == PGRES_SINGLE_TUPLE || status == PGRES_TUPLES_OK) && !value &&
                    PQntuples(result.get()) > 0 && PQnfields(result.get()) > 0 && !PQgetisnull(result.get(), 0, 0)) {
                    value = PQgetvalue(result.get(), 0, 0);
                }
            }
        } catch (...) {
            m_link->Settle();
            m_link->EndCall();
            throw;
        }
        m_link->EndCall();
        return value;
    }

    // money prints as many fraction digits as the session's lc_monetary has, and its text shows
    // no point when there are none: the count is learnt from the text of one unit.
    void ReadMoneyFormat(int timeoutSeconds) {
        m_values.moneyFractionDigits = -1;
        const std::optional<std::string> unit = Scalar("SELECT '1'::money::text", timeoutSeconds);
        if (!unit) return;  // a server without the type, or a transaction that already failed
        m_serverHasMoney = true;
        if (const std::optional<int> digits = MoneyFractionDigits(*unit)) m_values.moneyFractionDigits = *digits;
    }

    // lc_monetary changes with SET, RESET and DISCARD, and returns to its old value when the
    // transaction that set it ends. Until the format is read again, money keeps its text: read
    // with the old count of fraction digits, an amount could come out a hundred times too large.
    void NoteSettings(const PGresult* result) {
        const std::string_view word = CommandWord(result);
        if (word == "SET" || word == "RESET" || word == "DISCARD") {
            m_settingsChanged = true;
            m_values.moneyFractionDigits = -1;
        } else if (m_settingsChanged && (word == "COMMIT" || word == "ROLLBACK")) {
            m_values.moneyFractionDigits = -1;
        }
    }

    // Read again only outside a transaction, where a statement of ours cannot disturb the caller's
    // (a first statement fixes the snapshot of a repeatable-read transaction).
    void RefreshMoneyFormat() {
        if (m_values.moneyFractionDigits >= 0 || !m_serverHasMoney || !m_link->Alive()) return;
        if (PQtransactionStatus(m_link->Handle()) != PQTRANS_IDLE) return;
        try {
            ReadMoneyFormat(m_commandTimeout);
        } catch (const ProviderError&) {
            // A lost connection shows in the next call.
        }
    }

    std::unique_ptr<Link> m_link;
    int m_commandTimeout;
    ValueContext m_values;
    bool m_serverHasMoney = false;
    bool m_settingsChanged = false;  // by the caller, at some time in this session
};

}  // namespace

std::unique_ptr<Session> Open(const ConnectionString& properties, const SessionOptions& options) {
    const ConnectParameters parameters = MapConnectionString(properties);
    auto session = std::make_unique<PostgresSession>(Link::Connect(parameters, options.connectTimeoutSeconds),
                                                     options.commandTimeoutSeconds);
    // A server that lets us in and then stops answering must not hold Open past its timeout.
    session->Prepare(options.connectTimeoutSeconds > 0 ? options.connectTimeoutSeconds : options.commandTimeoutSeconds);
    return session;
}

}  // namespace orvanta::providers::postgresql
