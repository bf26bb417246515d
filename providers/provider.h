// What a database engine offers the object layer: a session that runs statements and queries.
// Engine-neutral and free of COM, so each provider can be tested on its own.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "providers/connection_string.h"
#include "providers/error.h"
#include "providers/result_set.h"

namespace orvanta::providers {

struct SessionOptions {
    int connectTimeoutSeconds = 15;
    int commandTimeoutSeconds = 30;  // 0: no limit
};

class Session {
public:
    virtual ~Session() = default;

    // Runs every statement of `sql` in order and returns the rows that their INSERT, UPDATE and
    // DELETE statements changed, or -1 when none of the statements counts rows (DDL, SELECT).
    virtual std::int64_t Execute(std::u16string_view sql) = 0;

    // Runs `sql` and appends every row it returns to `result`. Returns false, with the statement
    // run, when it returns no row set at all.
    virtual bool Query(std::u16string_view sql, ResultSet& result) = 0;

    virtual void SetCommandTimeout(int seconds) = 0;
};

using OpenSession = std::unique_ptr<Session> (*)(const ConnectionString& properties, const SessionOptions& options);

struct ProviderEntry {
    std::u16string_view name;
    OpenSession open;
};

// The provider for the `Provider` key of a connection string: ODBC when it names none.
// Null when no provider of that name is built in.
const ProviderEntry* FindProvider(const ConnectionString& properties);

}  // namespace orvanta::providers
