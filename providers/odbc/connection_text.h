#pragma once

#include <string>

#include "providers/connection_string.h"

namespace orvanta::providers::odbc {

struct ConnectionText {
    std::u16string text;      // for SQLDriverConnectW
    std::u16string password;  // to mask it in messages
};

// The caller's keys, in order, less those that only the object layer reads (Provider and the two
// timeouts); `User ID` and `Password` become UID and PWD unless those are given too. Values are
// written back in ODBC's quoting, so none can end early and smuggle in another keyword.
// Throws ProviderError (InvalidArgument) for what cannot be written safely.
ConnectionText MakeConnectionText(const ConnectionString& properties);

}  // namespace orvanta::providers::odbc
