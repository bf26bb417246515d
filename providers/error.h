// The one exception that providers throw; the object layer turns it into an HRESULT.
#pragma once

#include <stdexcept>
#include <string>

namespace orvanta::providers {

enum class ErrorKind {
    CommandRejected,   // the engine refused the statement: syntax, missing table, constraint
    ConnectionFailed,  // the data source cannot be opened or reached, or was lost
    InvalidArgument,   // a connection string or option the provider cannot use
    ProviderNotFound,  // no provider of the requested name
    Timeout,           // the command or the connection attempt ran past its timeout
    General,           // anything else the engine reports
};

class ProviderError : public std::runtime_error {
public:
    ProviderError(ErrorKind kind, std::u16string message, std::string sqlState = {}, long long nativeCode = 0)
        : std::runtime_error("provider error"),
          m_kind(kind),
          m_message(std::move(message)),
          m_sqlState(std::move(sqlState)),
          m_nativeCode(nativeCode) {}

    ErrorKind Kind() const { return m_kind; }
    // The engine's own text, the description hosts see.
    const std::u16string& Message() const { return m_message; }
    const std::string& SqlState() const { return m_sqlState; }
    long long NativeCode() const { return m_nativeCode; }

private:
    ErrorKind m_kind;
    std::u16string m_message;
    std::string m_sqlState;
    long long m_nativeCode;
};

}  // namespace orvanta::providers
