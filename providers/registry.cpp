#include "providers/provider.h"
#include "providers/sqlite/session.h"
#if ORVANTA_WITH_ODBC
#include "providers/odbc/session.h"
#endif
#if ORVANTA_WITH_POSTGRESQL
#include "providers/postgresql/session.h"
#endif

namespace orvanta::providers {
namespace {

// A plain table, read only: the module's static objects may open connections while it loads.
constexpr ProviderEntry kProviders[] = {
    {u"SQLite", &sqlite::Open},
#if ORVANTA_WITH_ODBC
    {u"MSDASQL", &odbc::Open},
#endif
#if ORVANTA_WITH_POSTGRESQL
    {u"PostgreSQL", &postgresql::Open},
#endif
};

// What a connection string that names no provider gets, as on the platform.
constexpr std::u16string_view kDefaultProvider = u"MSDASQL";

}  // namespace

const ProviderEntry* FindProvider(const ConnectionString& properties) {
    const std::u16string* name = properties.Find(u"Provider");
    const std::u16string_view wanted = name && !name->empty() ? std::u16string_view(*name) : kDefaultProvider;
    for (const ProviderEntry& entry : kProviders) {
        if (EqualsIgnoringCase(entry.name, wanted)) return &entry;
    }
    return nullptr;
}

}  // namespace orvanta::providers
