#include "providers/odbc/errors.h"

#include <string>

#include "providers/odbc/handle.h"
#include "providers/odbc/text.h"

namespace orvanta::providers::odbc {
namespace {

// More records than this only repeat the same failure.
constexpr SQLSMALLINT kMaxRecords = 32;
// Shorter passwords are left alone: masking them would garble ordinary words of a message.
constexpr std::size_t kShortestMaskedSecret = 4;

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

void AppendNumber(long long value, std::u16string& out) {
    const std::string digits = std::to_string(value);
    out.append(digits.begin(), digits.end());
}

void Mask(std::u16string& text, std::u16string_view secret) {
    if (secret.size() < kShortestMaskedSecret) return;
    for (std::size_t at = text.find(secret); at != std::u16string::npos; at = text.find(secret, at + 4)) {
        text.replace(at, secret.size(), u"****");
    }
}

}  // namespace

ErrorKind KindOfState(std::string_view state, Stage stage) {
    if (state == "HYT00" || state == "HYT01" || state == "57014") return ErrorKind::Timeout;  // 57014: cancelled by its timeout
    if (stage == Stage::Connect) return ErrorKind::ConnectionFailed;
    if (StartsWith(state, "08") || StartsWith(state, "28")) return ErrorKind::ConnectionFailed;
    for (std::string_view rejected : {"42", "22", "23", "21", "07"}) {
        if (StartsWith(state, rejected)) return ErrorKind::CommandRejected;
    }
    return ErrorKind::General;
}

ProviderError DiagnosticError(const Handle& handle, SQLRETURN result, Stage stage, std::u16string_view secret) {
    std::u16string text;
    std::string firstState;
    long long firstNative = 0;
    std::string state;
    long long native = 0;
    std::u16string message;
    for (SQLSMALLINT number = 1; number <= kMaxRecords && DiagnosticRecord(handle, number, state, native, message); ++number) {
        while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r')) message.pop_back();
        if (number == 1) {
            firstState = state;
            firstNative = native;
        }
        if (!text.empty()) text += u'\n';
        text += message;
        text += u" (SQLSTATE ";
        text.append(state.begin(), state.end());
        text += u", native error ";
        AppendNumber(native, text);
        text += u')';
    }
    if (text.empty()) {
        text = u"The ODBC call failed (return code ";
        AppendNumber(result, text);
        text += u") and the driver reported nothing more.";
    }
    Mask(text, secret);
    const ErrorKind kind = KindOfState(firstState, stage);
    return ProviderError(kind, std::move(text), std::move(firstState), firstNative);
}

}  // namespace orvanta::providers::odbc
