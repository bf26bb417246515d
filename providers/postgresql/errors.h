#pragma once

#include <string>
#include <string_view>

#include <libpq-fe.h>

#include "providers/error.h"

namespace orvanta::providers::postgresql {

// What a failure with this SQLSTATE means to a caller.
ErrorKind KindOfSqlState(std::string_view sqlState);

// The server's error in `result`, as "ERROR: message (SQLSTATE xxxxx)" with its DETAIL and HINT
// lines. A connection that is gone makes it a lost connection, whatever the server said last.
ProviderError ResultError(const PGresult* result, const PGconn* connection);

// libpq's own message for the last failure on `connection`, on one line.
std::u16string ClientMessage(const PGconn* connection);

// One line for a message that libpq spreads over several.
std::string Tidy(std::string_view message);

}  // namespace orvanta::providers::postgresql
