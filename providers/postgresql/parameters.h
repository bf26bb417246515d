// How a connection string becomes libpq's connection parameters: keyword and value arrays, never
// one conninfo text, so that no value can smuggle in another keyword.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "providers/connection_string.h"

namespace orvanta::providers::postgresql {

class ConnectParameters {
public:
    // Replaces an earlier value of the same keyword.
    void Set(std::string_view keyword, std::string value);
    const std::string* Find(std::string_view keyword) const;

    // Null-terminated arrays for PQconnectStartParams; valid while this object is unchanged.
    std::vector<const char*> Keywords() const;
    std::vector<const char*> Values() const;

    // Takes the password out of a message, so that no text the library produces shows it.
    std::u16string Hide(std::u16string message) const;

private:
    std::vector<std::pair<std::string, std::string>> m_entries;
};

struct HostAndPort {
    std::string host;
    std::string port;  // empty when the value names none
};

// "host", "host,port", "host:port", "[v6 address]:port"; a bare IPv6 address or a socket folder
// is a host alone.
HostAndPort SplitHostAndPort(std::string_view value);

// Throws ProviderError (InvalidArgument) for a key that neither this provider nor libpq knows,
// and for values that are not text libpq can take.
ConnectParameters MapConnectionString(const ConnectionString& properties);

}  // namespace orvanta::providers::postgresql
