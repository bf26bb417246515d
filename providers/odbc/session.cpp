#include "providers/odbc/session.h"

#include <algorithm>
#include <string>

#include "providers/odbc/connection_text.h"
#include "providers/odbc/errors.h"
#include "providers/odbc/handle.h"
#include "providers/odbc/rows.h"
#include "providers/odbc/text.h"
#include "unicode/utf.h"

namespace orvanta::providers::odbc {
namespace {

void RequireWellFormed(std::u16string_view text, std::u16string_view what) {
    if (!unicode::IsWellFormed(text)) {
        throw ProviderError(ErrorKind::InvalidArgument,
                            std::u16string(what) + u" holds a lone surrogate: it is not valid UTF-16 text.");
    }
}

SQLPOINTER Seconds(int seconds) { return reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(std::max(seconds, 0))); }

class OdbcSession final : public Session {
public:
    OdbcSession(Handle environment, Handle connection, int commandTimeoutSeconds)
        : m_environment(std::move(environment)),
          m_connection(std::move(connection)),
          m_commandTimeoutSeconds(commandTimeoutSeconds) {}
    ~OdbcSession() override {
        if (m_connected) SQLDisconnect(m_connection.Get());
    }

    void Connect(const ConnectionText& connection, int loginTimeoutSeconds) {
        // Best effort, as everywhere on the platform: a driver without login timeouts still connects.
        SQLSetConnectAttrW(m_connection.Get(), SQL_ATTR_LOGIN_TIMEOUT, Seconds(loginTimeoutSeconds), SQL_IS_UINTEGER);
        const SQLRETURN rc = SQLDriverConnectW(m_connection.Get(), nullptr, Wide(connection.text.c_str()),
                                               static_cast<SQLSMALLINT>(connection.text.size()), nullptr, 0, nullptr,
                                               SQL_DRIVER_NOPROMPT);
        if (!SQL_SUCCEEDED(rc)) throw DiagnosticError(m_connection, rc, Stage::Connect, connection.password);
        m_connected = true;
        m_connection.SetNarrowText(NeedsNarrowText(m_connection));
        m_fetch.capabilities = QueryCapabilities(m_connection);
    }

    std::int64_t Execute(std::u16string_view sql) override {
        if (sql.empty()) return -1;  // no statement at all; the driver manager would call it a bad length
        const Handle statement = Run(sql);
        std::int64_t changed = 0;
        bool counted = false;
        do {
            if (ColumnCount(statement) > 0) continue;  // a row set counts no rows
            SQLLEN rows = -1;
            if (SQL_SUCCEEDED(SQLRowCount(statement.Get(), &rows)) && rows >= 0) {
                changed += rows;
                counted = true;
            }
        } while (NextResult(statement));
        return counted ? changed : -1;
    }

    // The first result with columns gives the rows; the statements after it still run.
    bool Query(std::u16string_view sql, ResultSet& result) override {
        if (sql.empty()) return false;
        const Handle statement = Run(sql);
        bool fetched = false;
        do {
            if (fetched || ColumnCount(statement) == 0) continue;
            FetchRows(statement, m_fetch, result);
            fetched = true;
        } while (NextResult(statement));
        return fetched;
    }

    void SetCommandTimeout(int seconds) override { m_commandTimeoutSeconds = seconds; }

private:
    Handle Run(std::u16string_view sql) {
        RequireWellFormed(sql, u"The command text");
        Handle statement = Allocate(SQL_HANDLE_STMT, &m_connection);
        if (m_commandTimeoutSeconds > 0) {
            SQLSetStmtAttrW(statement.Get(), SQL_ATTR_QUERY_TIMEOUT, Seconds(m_commandTimeoutSeconds), SQL_IS_UINTEGER);
        }
        Check(ExecuteDirect(statement, sql), statement);
        return statement;
    }

    static SQLSMALLINT ColumnCount(const Handle& statement) {
        SQLSMALLINT columns = 0;
        Check(SQLNumResultCols(statement.Get(), &columns), statement);
        return columns;
    }

    // Moves to the next statement's result; an error there is that statement's error.
    static bool NextResult(const Handle& statement) {
        return Check(SQLMoreResults(statement.Get()), statement) != SQL_NO_DATA;
    }

    Handle m_environment;
    Handle m_connection;
    bool m_connected = false;
    int m_commandTimeoutSeconds;
    FetchOptions m_fetch;
};

}  // namespace

std::unique_ptr<Session> Open(const ConnectionString& properties, const SessionOptions& options) {
    const ConnectionText connection = MakeConnectionText(properties);
    RequireWellFormed(connection.text, u"The connection string");

    Handle environment = Allocate(SQL_HANDLE_ENV, nullptr);
    Check(SQLSetEnvAttr(environment.Get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQLULEN{SQL_OV_ODBC3}), 0),
          environment, Stage::Connect);
    Handle handle = Allocate(SQL_HANDLE_DBC, &environment);
    auto session = std::make_unique<OdbcSession>(std::move(environment), std::move(handle), options.commandTimeoutSeconds);
    session->Connect(connection, options.connectTimeoutSeconds);
    return session;
}

}  // namespace orvanta::providers::odbc
