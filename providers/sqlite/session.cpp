#include "providers/sqlite/session.h"

#include <climits>
#include <string>

#include <sqlite3.h>

#include "providers/sqlite/errors.h"
#include "providers/sqlite/rows.h"
#include "providers/sqlite/statement.h"
#include "unicode/utf.h"

namespace orvanta::providers::sqlite {
namespace {

std::string ToUtf8(std::u16string_view text, std::u16string_view what) {
    std::string utf8;
    if (!unicode::AppendUtf8(text, utf8)) {
        throw ProviderError(ErrorKind::InvalidArgument,
                            std::u16string(what) + u" holds a lone surrogate: it is not valid UTF-16 text.");
    }
    return utf8;
}

// How long a statement waits for a lock that another connection holds.
int BusyMilliseconds(int seconds) {
    if (seconds <= 0) return INT_MAX;  // no limit, as far as the engine can count
    return seconds >= INT_MAX / 1000 ? INT_MAX : seconds * 1000;
}

class SqliteSession final : public Session {
public:
    explicit SqliteSession(sqlite3* db) : m_db(db) {}
    ~SqliteSession() override { sqlite3_close_v2(m_db); }

    std::int64_t Execute(std::u16string_view sql) override {
        std::int64_t changed = 0;
        bool counted = false;
        ForEachStatement(sql, [&](sqlite3_stmt* statement) {
            int rc;
            while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            }
            if (rc != SQLITE_DONE) throw EngineError(m_db, rc);
            if (ChangesRows(statement)) {
                changed += sqlite3_changes64(m_db);
                counted = true;
            }
        });
        return counted ? changed : -1;
    }

    // The first statement that returns columns gives the rows; the others run as in Execute.
    bool Query(std::u16string_view sql, ResultSet& result) override {
        bool fetched = false;
        ForEachStatement(sql, [&](sqlite3_stmt* statement) {
            int rc;
            if (!fetched && sqlite3_column_count(statement) > 0) {
                fetched = true;
                rc = FetchRows(statement, result);
            } else {
                while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
                }
            }
            if (rc != SQLITE_DONE) throw EngineError(m_db, rc);
        });
        return fetched;
    }

    void SetCommandTimeout(int seconds) override { sqlite3_busy_timeout(m_db, BusyMilliseconds(seconds)); }

private:
    template <class Run>
    void ForEachStatement(std::u16string_view sql, Run&& run) {
        const std::string text = ToUtf8(sql, u"The command text");
        const char* tail = text.c_str();
        const char* const end = tail + text.size();
        while (tail < end) {
            sqlite3_stmt* prepared = nullptr;
            const char* next = nullptr;
            const int rc = sqlite3_prepare_v2(m_db, tail, static_cast<int>(end - tail), &prepared, &next);
            if (rc != SQLITE_OK) throw EngineError(m_db, rc);
            const Statement statement(prepared);
            if (!next || next <= tail) break;
            tail = next;
            if (prepared) run(prepared);  // null for blanks and comments
        }
    }

    sqlite3* m_db;
};

}  // namespace

std::unique_ptr<Session> Open(const ConnectionString& properties, const SessionOptions& options) {
    const std::u16string* source = properties.FindAny({u"Data Source", u"Database"});
    if (!source || source->empty()) {
        throw ProviderError(ErrorKind::InvalidArgument,
                            u"No database file given: name it with 'Data Source' (or ':memory:').");
    }
    const std::string path = ToUtf8(*source, u"The data source");

    sqlite3* db = nullptr;
    // Calls on a session never overlap (the object model is not shared between threads at once),
    // so the engine's own locking per call would be pure cost.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        ProviderError error = EngineError(db, rc);
        sqlite3_close_v2(db);
        throw ProviderError(ErrorKind::ConnectionFailed, error.Message(), {}, error.NativeCode());
    }
    auto session = std::make_unique<SqliteSession>(db);
    sqlite3_extended_result_codes(db, 1);

    // Opening is lazy; reading the schema version proves the file is a database we can use.
    sqlite3_busy_timeout(db, BusyMilliseconds(options.connectTimeoutSeconds));
    rc = sqlite3_exec(db, "PRAGMA schema_version", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        ProviderError error = EngineError(db, rc);
        throw ProviderError(ErrorKind::ConnectionFailed, error.Message(), {}, error.NativeCode());
    }
    session->SetCommandTimeout(options.commandTimeoutSeconds);
    return session;
}

}  // namespace orvanta::providers::sqlite
