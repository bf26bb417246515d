// The implementation side of COM objects: one QueryInterface, one reference count, and the guard
// that turns a C++ failure inside a method into an HRESULT with the thread's error information.
#pragma once

#include <atomic>
#include <concepts>
#include <new>
#include <type_traits>
#include <utility>

#include <comptr.h>
#include <objbase.h>

namespace orvanta::com {

// An implementation class may stand between an object and the interface it implements (a class
// that gives every method a default); it names that interface as `Interface`.
template <class T>
struct InterfaceOf {
    using type = T;
};
template <class T>
    requires requires { typename T::Interface; }
struct InterfaceOf<T> {
    using type = typename T::Interface;
};

template <class Interface, class From>
void* FindInChain(From* from, REFIID iid) {
    if (iid == Interface::Iid) return static_cast<Interface*>(from);
    if constexpr (requires { typename Interface::Base; }) {
        return FindInChain<typename Interface::Base>(static_cast<Interface*>(from), iid);
    } else {
        return nullptr;
    }
}

// `Count` is the reference count's type: atomic for objects that threads may share, a plain integer
// for objects of the apartment model, which one thread at a time uses (any thread, in turn).
template <class Count, class Derived, class Primary, class... Others>
class ComObjectBase : public Primary, public Others... {
public:
    HRESULT QueryInterface(REFIID iid, void** object) noexcept final {
        if (!object) return E_POINTER;
        *object = Find<Primary, Others...>(iid);
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG AddRef() noexcept final { return ++m_references; }
    ULONG Release() noexcept final {
        const ULONG left = --m_references;
        if (left == 0) delete static_cast<Derived*>(this);
        return left;
    }

protected:
    ComObjectBase() = default;
    ~ComObjectBase() = default;

private:
    template <class First, class... Rest>
    void* Find(REFIID iid) {
        if (void* found = FindInChain<typename InterfaceOf<First>::type>(static_cast<First*>(this), iid)) {
            return found;
        }
        if constexpr (sizeof...(Rest) > 0) return Find<Rest...>(iid);
        return nullptr;
    }

    Count m_references{1};
};

template <class Derived, class Primary, class... Others>
using ComObject = ComObjectBase<std::atomic<ULONG>, Derived, Primary, Others...>;

// The object model's objects follow the apartment model: calls on one object never overlap, so
// counting references needs no atomic operations, which the walk over a large result would pay
// several times per field.
template <class Derived, class Primary, class... Others>
using ApartmentObject = ComObjectBase<ULONG, Derived, Primary, Others...>;

// Creates an object holding its first reference.
template <class T, class... Args>
ComPtr<T> MakeCom(Args&&... args) {
    ComPtr<T> object;
    object.Attach(new T(std::forward<Args>(args)...));
    return object;
}

}  // namespace orvanta::com
