#include "providers/postgresql/statement.h"

#include <charconv>
#include <cstring>

#include "providers/error.h"
#include "unicode/utf.h"

namespace orvanta::providers::postgresql {

std::string CommandText(std::u16string_view sql) {
    std::string text;
    if (!unicode::AppendUtf8(sql, text)) {
        throw ProviderError(ErrorKind::InvalidArgument,
                            u"The command text holds a lone surrogate: it is not valid UTF-16 text.");
    }
    if (text.find('\0') != std::string::npos) {
        throw ProviderError(ErrorKind::InvalidArgument,
                            u"The command text holds a NUL character, which a PostgreSQL server cannot take.");
    }
    return text;
}

std::string_view CommandWord(const PGresult* result) {
    const char* tag = PQcmdStatus(const_cast<PGresult*>(result));
    if (!tag) return {};
    const std::string_view text(tag);
    return text.substr(0, text.find(' '));
}

std::optional<std::int64_t> RowsChanged(const PGresult* result) {
    const std::string_view word = CommandWord(result);
    if (word != "INSERT" && word != "UPDATE" && word != "DELETE" && word != "MERGE" && word != "COPY") {
        return std::nullopt;
    }
    const char* count = PQcmdTuples(const_cast<PGresult*>(result));
    std::int64_t rows = 0;
    if (!count || std::from_chars(count, count + std::strlen(count), rows).ec != std::errc{}) return std::nullopt;
    return rows;
}

}  // namespace orvanta::providers::postgresql
