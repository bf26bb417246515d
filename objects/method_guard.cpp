#include "objects/method_guard.h"

#include "com/error_info.h"

namespace orvanta::objects {
namespace {

HRESULT CodeOf(providers::ErrorKind kind) {
    switch (kind) {
        case providers::ErrorKind::CommandRejected: return DB_E_ERRORSINCOMMAND;
        case providers::ErrorKind::ProviderNotFound: return AdoError(adErrProviderNotFound);
        case providers::ErrorKind::Timeout: return E_FAIL;
        case providers::ErrorKind::InvalidArgument: return E_FAIL;
        case providers::ErrorKind::ConnectionFailed: return E_FAIL;
        case providers::ErrorKind::General: return E_FAIL;
    }
    return E_FAIL;
}

}  // namespace

HRESULT ReportFailure(REFIID iid, std::u16string_view source, const Failure& failure) noexcept {
    com::SetThreadErrorInfo(iid, source, failure.description);
    return failure.code;
}

HRESULT ReportProviderError(REFIID iid, std::u16string_view source, const providers::ProviderError& error) noexcept {
    com::SetThreadErrorInfo(iid, source, error.Message());
    return CodeOf(error.Kind());
}

HRESULT ReportUnexpected(REFIID iid, std::u16string_view source, HRESULT code) noexcept {
    com::SetThreadErrorInfo(iid, source, code == E_OUTOFMEMORY ? u"Out of memory." : u"Unexpected failure.");
    return code;
}

}  // namespace orvanta::objects
