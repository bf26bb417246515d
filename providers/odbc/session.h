// The default provider: any database with an ODBC driver, through the unixODBC driver manager.
#pragma once

#include <memory>

#include "providers/provider.h"

namespace orvanta::providers::odbc {

// The connection string goes to the driver manager as it is (DSN=..., or Driver={...};...), less
// the keys that the object layer reads; the driver never prompts.
std::unique_ptr<Session> Open(const ConnectionString& properties, const SessionOptions& options);

}  // namespace orvanta::providers::odbc
