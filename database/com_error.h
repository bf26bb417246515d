// The COM error: what every failing ADO call raises, with the failing object's error information.
#pragma once

#include <string>
#include <type_traits>
#include <utility>

#include <comptr.h>
#include <windows.h>

class ComError {
public:
    // Takes over the reference to `info`, which may be null.
    ComError(HRESULT code, IErrorInfo* info) noexcept : m_code(code), m_info(info) {}
    ComError(const ComError& other) noexcept;
    ComError& operator=(const ComError&) = delete;
    ~ComError();

    HRESULT Error() const noexcept { return m_code; }
    IErrorInfo* ErrorInfo() const noexcept { return m_info; }

    // The error information's texts; empty without error information.
    std::u16string Source() const;
    std::u16string Description() const;

    // The message for the result code, made on the first request and kept; null only when not
    // even the fallback text could be allocated.
    LPCWSTR ResultCodeText() const noexcept;

private:
    HRESULT m_code;
    IErrorInfo* m_info;
    mutable LPWSTR m_message = nullptr;
    mutable bool m_messageOnHeap = false;  // the fallback text, from the process heap
};

// Raises the COM error for a call that failed with `code` on `object`, for a method that
// `iid` declares. The error information is taken only when the object vouches for it.
[[noreturn]] void RaiseComError(HRESULT code, IUnknown* object, REFIID iid);

// Calls `method` on `object` and raises a failing result at once, naming the interface that
// declares the method. A null interface raises E_POINTER. Returns the success code.
template <class Declaring, class Interface, class... Params, class... Args>
HRESULT ComCall(const ComPtr<Interface>& object, HRESULT (Declaring::*method)(Params...), Args&&... args) {
    static_assert(std::is_base_of_v<Declaring, Interface>);
    if (!object) throw ComError(E_POINTER, nullptr);
    const HRESULT hr = (object.Get()->*method)(std::forward<Args>(args)...);
    if (FAILED(hr)) RaiseComError(hr, object.Get(), Declaring::Iid);
    return hr;
}
