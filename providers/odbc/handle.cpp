#include "providers/odbc/handle.h"

#include <dlfcn.h>

#include "providers/odbc/errors.h"

namespace orvanta::providers::odbc {
namespace {

// Drivers that read their data source through libodbcinst (the SQLite one does) load it with
// themselves, and the driver manager unloads both at each disconnect: what libodbcinst cached is
// lost every time, about 1.6 KB a connection. Kept loaded, it reuses its cache.
void KeepOdbcInstLoaded() {
    static void* const library = dlopen("libodbcinst.so.2", RTLD_NOW | RTLD_NODELETE);
    (void)library;
}

}  // namespace

Handle Allocate(SQLSMALLINT type, const Handle* parent) {
    if (type == SQL_HANDLE_ENV) KeepOdbcInstLoaded();
    SQLHANDLE handle = SQLHANDLE{};
    const SQLRETURN rc = SQLAllocHandle(type, parent ? parent->Get() : SQL_NULL_HANDLE, &handle);
    if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) return Handle(type, handle, parent && parent->NarrowText());
    if (parent) throw DiagnosticError(*parent, rc, type == SQL_HANDLE_STMT ? Stage::Statement : Stage::Connect);
    throw ProviderError(ErrorKind::General, u"The ODBC driver manager could not allocate an environment.");
}

}  // namespace orvanta::providers::odbc
