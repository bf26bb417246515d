#include "providers/odbc/handle.h"

#include "providers/odbc/errors.h"

namespace orvanta::providers::odbc {

Handle Allocate(SQLSMALLINT type, const Handle* parent) {
    SQLHANDLE handle = SQLHANDLE{};
    const SQLRETURN rc = SQLAllocHandle(type, parent ? parent->Get() : SQL_NULL_HANDLE, &handle);
    if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) return Handle(type, handle, parent && parent->NarrowText());
    if (parent) throw DiagnosticError(*parent, rc, type == SQL_HANDLE_STMT ? Stage::Statement : Stage::Connect);
    throw ProviderError(ErrorKind::General, u"The ODBC driver manager could not allocate an environment.");
}

}  // namespace orvanta::providers::odbc
