// A counted interface reference: the only owner of COM interface pointers in this code base.
#pragma once

#include <cstddef>
#include <utility>

#include "objbase.h"

template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes a reference of its own, as a copy would.
    explicit ComPtr(T* pointer) noexcept : m_pointer(pointer) { AddRefIfAny(); }
    ComPtr(const ComPtr& other) noexcept : m_pointer(other.m_pointer) { AddRefIfAny(); }
    ComPtr(ComPtr&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    template <class U>
    ComPtr(const ComPtr<U>& other) noexcept : m_pointer(other.Get()) { AddRefIfAny(); }
    ~ComPtr() { Reset(); }

    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t) noexcept {
        Reset();
        return *this;
    }

    T* Get() const noexcept { return m_pointer; }
    T* operator->() const noexcept { return m_pointer; }
    explicit operator bool() const noexcept { return m_pointer != nullptr; }

    // For out-parameters: the pointer must be empty, so that nothing leaks when it is written.
    T** GetAddressOf() noexcept { return &m_pointer; }
    T** ReleaseAndGetAddressOf() noexcept {
        Reset();
        return &m_pointer;
    }
    void** ReleaseAndGetVoidAddress() noexcept { return reinterpret_cast<void**>(ReleaseAndGetAddressOf()); }

    // Adopts a reference that the caller owns.
    void Attach(T* pointer) noexcept {
        Reset();
        m_pointer = pointer;
    }
    // Hands the reference over to the caller.
    [[nodiscard]] T* Detach() noexcept { return std::exchange(m_pointer, nullptr); }

    ULONG Reset() noexcept {
        ULONG left = 0;
        if (T* old = std::exchange(m_pointer, nullptr)) left = old->Release();
        return left;
    }

    HRESULT CopyTo(T** out) const noexcept {
        if (!out) return E_POINTER;
        *out = m_pointer;
        AddRefIfAny();
        return S_OK;
    }

    template <class U>
    HRESULT As(ComPtr<U>* out) const noexcept {
        if (!m_pointer) return E_POINTER;
        return m_pointer->QueryInterface(U::Iid, out->ReleaseAndGetVoidAddress());
    }

private:
    void AddRefIfAny() const noexcept {
        if (m_pointer) m_pointer->AddRef();
    }

    T* m_pointer = nullptr;
};
