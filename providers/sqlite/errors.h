#pragma once

#include <sqlite3.h>

#include "providers/error.h"

namespace orvanta::providers::sqlite {

// The engine's message for a failed call on `db`, classified by its result code.
ProviderError EngineError(sqlite3* db, int result);

}  // namespace orvanta::providers::sqlite
