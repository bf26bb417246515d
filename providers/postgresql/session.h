// The server provider: a PostgreSQL database (or any server that speaks its protocol) through
// libpq.
#pragma once

#include <memory>

#include "providers/provider.h"

namespace orvanta::providers::postgresql {

// Keys, in any case: `Data Source`, `Server`, `Host` or `Address` (also as "host,port",
// "host:port" or "[v6 address]:port"), `Port`, `Initial Catalog` or `Database`, `User ID`, `UID` or
// `User`, `Password` or `PWD`, and every libpq keyword (sslmode, application_name...). Of two keys
// for the same thing the later one wins. The timeouts come in `options`.
//
// Values arrive typed by the column's type; timestamptz as the time in the session's TimeZone.
std::unique_ptr<Session> Open(const ConnectionString& properties, const SessionOptions& options);

}  // namespace orvanta::providers::postgresql
