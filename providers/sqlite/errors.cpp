#include "providers/sqlite/errors.h"

#include <string>

#include "unicode/utf.h"

namespace orvanta::providers::sqlite {
namespace {

ErrorKind KindOf(int result) {
    switch (result & 0xFF) {
        case SQLITE_ERROR:
        case SQLITE_CONSTRAINT:
        case SQLITE_MISMATCH:
        case SQLITE_RANGE:
        case SQLITE_TOOBIG:
        case SQLITE_AUTH:
            return ErrorKind::CommandRejected;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return ErrorKind::Timeout;
        case SQLITE_CANTOPEN:
        case SQLITE_NOTADB:
            return ErrorKind::ConnectionFailed;
        default:
            return ErrorKind::General;
    }
}

}  // namespace

ProviderError EngineError(sqlite3* db, int result) {
    const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(result);
    std::u16string text;
    unicode::AppendUtf16(message ? message : sqlite3_errstr(result), text);
    return ProviderError(KindOf(result), std::move(text), {}, result);
}

}  // namespace orvanta::providers::sqlite
