// The embedded provider: a database file (or :memory:) through the system SQLite library.
#pragma once

#include <memory>

#include "providers/provider.h"

namespace orvanta::providers::sqlite {

// Keys: `Data Source` (or `Database`), the file, created when missing.
std::unique_ptr<Session> Open(const ConnectionString& properties, const SessionOptions& options);

}  // namespace orvanta::providers::sqlite
