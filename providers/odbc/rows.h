#pragma once

#include <cstddef>

#include "providers/odbc/handle.h"
#include "providers/result_set.h"

namespace orvanta::providers::odbc {

// What the driver allows around SQLGetData; it decides how columns can be bound.
struct DriverCapabilities {
    bool getDataAnyColumn = false;  // on any unbound column, not only after the last bound one
    bool getDataBound = false;      // on bound columns as well
};

DriverCapabilities QueryCapabilities(const Handle& connection);

struct FetchOptions {
    DriverCapabilities capabilities;
    std::size_t maxBlockRows = 256;  // rows per fetch at most
};

// Describes the statement's current result in `result` and appends all its rows.
void FetchRows(const Handle& statement, const FetchOptions& options, ResultSet& result);

}  // namespace orvanta::providers::odbc
