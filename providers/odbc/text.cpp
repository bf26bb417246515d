#include "providers/odbc/text.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "providers/error.h"
#include "unicode/utf.h"

namespace orvanta::providers::odbc {
namespace {

// Latin-1, beyond Latin-1 and beyond the basic plane: what the driver manager's conversion loses.
constexpr std::u16string_view kSample = u"SELECT '\u00E9\u20AC\U0001F600'";
constexpr std::size_t kFirstMessageUnits = 512;

std::string Utf8(std::u16string_view text) {
    std::string utf8;
    unicode::AppendUtf8(text, utf8);  // callers pass well-formed text
    return utf8;
}

std::u16string FromUtf8(const SQLCHAR* text, std::size_t bytes) {
    std::u16string utf16;
    unicode::AppendUtf16(std::string_view(reinterpret_cast<const char*>(text), bytes), utf16);
    return utf16;
}

std::size_t Units(long long reported, std::size_t capacity) {
    return std::min(static_cast<std::size_t>(std::max(reported, 0LL)), capacity > 0 ? capacity - 1 : 0);
}

}  // namespace

bool NeedsNarrowText(const Handle& connection) {
    SQLWCHAR wide[64] = {};
    SQLINTEGER length = 0;
    std::u16string sample(kSample);
    SQLRETURN rc = SQLNativeSqlW(connection.Get(), Wide(sample.c_str()), static_cast<SQLINTEGER>(sample.size()), wide,
                                 static_cast<SQLINTEGER>(std::size(wide)), &length);
    if (!SQL_SUCCEEDED(rc)) return false;  // no way to tell: the wide calls are the rule
    if (std::u16string_view(Utf16(wide), Units(length, std::size(wide))) == kSample) return false;

    std::string utf8 = Utf8(kSample);
    SQLCHAR narrow[64] = {};
    rc = SQLNativeSql(connection.Get(), reinterpret_cast<SQLCHAR*>(utf8.data()), static_cast<SQLINTEGER>(utf8.size()), narrow,
                      static_cast<SQLINTEGER>(std::size(narrow)), &length);
    return SQL_SUCCEEDED(rc) && std::string_view(reinterpret_cast<const char*>(narrow), Units(length, std::size(narrow))) == utf8;
}

SQLRETURN ExecuteDirect(const Handle& statement, std::u16string_view sql) {
    constexpr auto kLongest = static_cast<std::size_t>(std::numeric_limits<SQLINTEGER>::max());
    if (!statement.NarrowText()) {
        if (sql.size() > kLongest) throw ProviderError(ErrorKind::InvalidArgument, u"The command text is too long for ODBC.");
        return SQLExecDirectW(statement.Get(), Wide(sql.data()), static_cast<SQLINTEGER>(sql.size()));
    }
    std::string utf8 = Utf8(sql);
    if (utf8.size() > kLongest) throw ProviderError(ErrorKind::InvalidArgument, u"The command text is too long for ODBC.");
    return SQLExecDirect(statement.Get(), reinterpret_cast<SQLCHAR*>(utf8.data()), static_cast<SQLINTEGER>(utf8.size()));
}

SQLRETURN DescribeColumn(const Handle& statement, SQLUSMALLINT number, std::u16string& name, SQLSMALLINT& sqlType,
                         SQLULEN& size, SQLSMALLINT& nullable) {
    SQLSMALLINT length = 0;
    SQLSMALLINT digits = 0;
    SQLRETURN rc;
    if (statement.NarrowText()) {
        std::vector<SQLCHAR> buffer(128);
        for (int attempt = 0; attempt < 2; ++attempt) {
            rc = SQLDescribeCol(statement.Get(), number, buffer.data(), static_cast<SQLSMALLINT>(buffer.size()), &length,
                                &sqlType, &size, &digits, &nullable);
            if (!SQL_SUCCEEDED(rc) || length < static_cast<SQLSMALLINT>(buffer.size())) break;
            buffer.resize(static_cast<std::size_t>(length) + 1);
        }
        if (SQL_SUCCEEDED(rc)) name = FromUtf8(buffer.data(), Units(length, buffer.size()));
        return rc;
    }
    std::vector<SQLWCHAR> buffer(128);
    for (int attempt = 0; attempt < 2; ++attempt) {
        rc = SQLDescribeColW(statement.Get(), number, buffer.data(), static_cast<SQLSMALLINT>(buffer.size()), &length,
                             &sqlType, &size, &digits, &nullable);
        if (!SQL_SUCCEEDED(rc) || length < static_cast<SQLSMALLINT>(buffer.size())) break;
        buffer.resize(static_cast<std::size_t>(length) + 1);
    }
    if (SQL_SUCCEEDED(rc)) name.assign(Utf16(buffer.data()), Units(length, buffer.size()));
    return rc;
}

bool DiagnosticRecord(const Handle& handle, SQLSMALLINT number, std::string& state, long long& native,
                      std::u16string& message) {
    SQLINTEGER nativeError = 0;
    SQLSMALLINT length = 0;
    SQLRETURN rc;
    state.clear();
    if (handle.NarrowText()) {
        SQLCHAR code[6] = {};
        std::vector<SQLCHAR> text(kFirstMessageUnits);
        for (int attempt = 0; attempt < 2; ++attempt) {
            rc = SQLGetDiagRec(handle.Type(), handle.Get(), number, code, &nativeError, text.data(),
                               static_cast<SQLSMALLINT>(text.size()), &length);
            if (!SQL_SUCCEEDED(rc) || length < static_cast<SQLSMALLINT>(text.size())) break;
            text.resize(static_cast<std::size_t>(length) + 1);
        }
        if (!SQL_SUCCEEDED(rc)) return false;
        for (SQLCHAR c : code) {
            if (c == 0) break;
            state.push_back(static_cast<char>(c));
        }
        message = FromUtf8(text.data(), Units(length, text.size()));
    } else {
        SQLWCHAR code[6] = {};
        std::vector<SQLWCHAR> text(kFirstMessageUnits);
        for (int attempt = 0; attempt < 2; ++attempt) {
            rc = SQLGetDiagRecW(handle.Type(), handle.Get(), number, code, &nativeError, text.data(),
                                static_cast<SQLSMALLINT>(text.size()), &length);
            if (!SQL_SUCCEEDED(rc) || length < static_cast<SQLSMALLINT>(text.size())) break;
            text.resize(static_cast<std::size_t>(length) + 1);
        }
        if (!SQL_SUCCEEDED(rc)) return false;
        for (SQLWCHAR c : code) {
            if (c == 0) break;
            state.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        }
        message.assign(Utf16(text.data()), Units(length, text.size()));
    }
    native = nativeError;
    return true;
}

}  // namespace orvanta::providers::odbc
