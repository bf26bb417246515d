// The library's whole external interface.
#include "exports/boundary.h"
#include "exports/module.h"
#include "exports/query.h"

#define ORVANTA_EXPORT extern "C" __attribute__((visibility("default")))

using orvanta::exports::AtBoundary;

namespace {
// The memory of the last query's text block, kept for the next query until the connection closes.
CTextBlock g_textBlock;
}  // namespace

ORVANTA_EXPORT int fnDBOpen(LPCWSTR /*unused*/, LPCWSTR connectionString) {
    return AtBoundary(0, [&] {
        g_textBlock.Release();
        return g_database.Open(connectionString ? connectionString : u"");
    });
}

ORVANTA_EXPORT void fnDBClose() {
    AtBoundary(0, [] {
        g_textBlock.Release();
        g_database.Close();
        return 0;
    });
}

ORVANTA_EXPORT int fnDBExecute(LPCWSTR statement) {
    return AtBoundary(0, [&] { return g_database.Execute(statement) ? static_cast<int>(g_database.GetRecordsAffected()) : 0; });
}

ORVANTA_EXPORT int fnDBExecuteQuery(LPCWSTR query, LPWSTR buffer) {
    return AtBoundary(0, [&] { return ExecuteQueryIntoBuffer(g_database, query, buffer, g_textBlock); });
}
