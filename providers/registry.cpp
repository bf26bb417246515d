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

// Provider names may carry a version, as in "MSDASQL.1": the version does not choose the provider.
std::u16string_view WithoutVersion(std::u16string_view name) {
    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos || dot + 1 == name.size()) return name;
    for (std::size_t i = dot + 1; i < name.size(); ++i) {
        if (name[i] < u'0' || name[i] > u'9') return name;
    }
    return name.substr(0, dot);
}

}  // namespace

const ProviderEntry* FindProvider(const ConnectionString& properties) {
    const std::u16string* name = properties.Find(u"Provider");
    const std::u16string_view wanted =
        name && !name->empty() ? WithoutVersion(std::u16string_view(*name)) : kDefaultProvider;
    for (const ProviderEntry& entry : kProviders) {
        if (EqualsIgnoringCase(entry.name, wanted)) return &entry;
    }
    return nullptr;
}

}  // namespace orvanta::providers
