// Every method of our objects runs its body through Guarded: no exception crosses a vtable, and a
// failure leaves its description in the thread's error object.
#pragma once

#include <new>
#include <string_view>

#include <objbase.h>

#include "objects/failure.h"
#include "providers/error.h"

namespace orvanta::objects {

HRESULT ReportFailure(REFIID iid, std::u16string_view source, const Failure& failure) noexcept;
HRESULT ReportProviderError(REFIID iid, std::u16string_view source, const providers::ProviderError& error) noexcept;
HRESULT ReportUnexpected(REFIID iid, std::u16string_view source, HRESULT code) noexcept;

template <class Body>
HRESULT Guarded(REFIID iid, std::u16string_view source, Body&& body) noexcept {
    try {
        return body();
    } catch (const Failure& failure) {
        return ReportFailure(iid, source, failure);
    } catch (const providers::ProviderError& error) {
        return ReportProviderError(iid, source, error);
    } catch (const std::bad_alloc&) {
        return ReportUnexpected(iid, source, E_OUTOFMEMORY);
    } catch (...) {
        return ReportUnexpected(iid, source, E_UNEXPECTED);
    }
}

// Out-parameters are checked before any work is done.
template <class T>
void RequireOut(T* out) {
    if (!out) Fail(E_POINTER, u"A required output pointer is null.");
}

}  // namespace orvanta::objects
