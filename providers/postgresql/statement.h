#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <libpq-fe.h>

namespace orvanta::providers::postgresql {

// The command text as libpq takes it: UTF-8 without NUL characters, which would cut it short.
// Throws ProviderError (InvalidArgument) otherwise.
std::string CommandText(std::u16string_view sql);

// The first word of the result's command tag: "INSERT", "SET", "COMMIT"...
std::string_view CommandWord(const PGresult* result);

// The rows an INSERT, UPDATE, DELETE, MERGE or COPY changed; nothing for other statements,
// including SELECT and CREATE TABLE AS, whose tags also carry a count.
std::optional<std::int64_t> RowsChanged(const PGresult* result);

}  // namespace orvanta::providers::postgresql
