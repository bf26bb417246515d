#include "providers/postgresql/errors.h"

#include "unicode/utf.h"

namespace orvanta::providers::postgresql {

ErrorKind KindOfSqlState(std::string_view sqlState) {
    if (sqlState == "57014" || sqlState == "55P03") return ErrorKind::Timeout;  // cancelled, lock not available
    // 57P01-57P05: the server is shutting down, or terminated this session.
    if (sqlState.starts_with("57P")) return ErrorKind::ConnectionFailed;
    const std::string_view rejected[] = {"0A", "21", "22", "23", "25", "26", "2B", "2D", "2F",
                                         "34", "3B", "3D", "3F", "40", "42", "44", "P0"};
    const std::string_view category = sqlState.substr(0, 2);
    if (category == "08" || category == "28") return ErrorKind::ConnectionFailed;
    for (std::string_view code : rejected) {
        if (category == code) return ErrorKind::CommandRejected;
    }
    return ErrorKind::General;
}

std::string Tidy(std::string_view message) {
    std::string text;
    bool blank = false;
    for (char c : message) {
        if (c == '\n' || c == '\t' || c == '\r' || c == ' ') {
            blank = true;
            continue;
        }
        if (blank && !text.empty()) text += ' ';
        blank = false;
        text += c;
    }
    return text;
}

std::u16string ClientMessage(const PGconn* connection) {
    const char* message = connection ? PQerrorMessage(connection) : nullptr;
    std::string text = Tidy(message ? message : "");
    if (text.empty()) text = "The connection to the server failed.";
    std::u16string utf16;
    unicode::AppendUtf16(text, utf16);
    return utf16;
}

ProviderError ResultError(const PGresult* result, const PGconn* connection) {
    const auto field = [&](int code) -> std::string_view {
        const char* value = PQresultErrorField(result, code);
        return value ? value : "";
    };
    const std::string sqlState(field(PG_DIAG_SQLSTATE));
    const std::string_view primary = field(PG_DIAG_MESSAGE_PRIMARY);
    std::string text;
    if (primary.empty()) {
        const char* message = PQresultErrorMessage(result);
        text = Tidy(message && *message ? message : PQerrorMessage(connection));
    } else {
        const std::string_view severity = field(PG_DIAG_SEVERITY);
        text.append(severity.empty() ? "ERROR" : severity).append(": ").append(primary);
        if (!sqlState.empty()) text.append(" (SQLSTATE ").append(sqlState).append(")");
        if (const std::string_view detail = field(PG_DIAG_MESSAGE_DETAIL); !detail.empty()) {
            text.append("\nDETAIL: ").append(detail);
        }
        if (const std::string_view hint = field(PG_DIAG_MESSAGE_HINT); !hint.empty()) {
            text.append("\nHINT: ").append(hint);
        }
    }
    const ErrorKind kind = PQstatus(connection) == CONNECTION_BAD ? ErrorKind::ConnectionFailed : KindOfSqlState(sqlState);
    std::u16string message;
    unicode::AppendUtf16(text, message);
    return ProviderError(kind, std::move(message), sqlState);
}

}  // namespace orvanta::providers::postgresql
