// Helpers for tests that drive COM objects: reference-count probes and class replacement.
#pragma once

#include <functional>

#include <comptr.h>
#include <oleauto.h>

#include "com/object.h"

namespace orvanta::testing {

// The object's reference count, without changing it.
inline ULONG RefCount(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

// An object that can be run, answering Run with `runResult`; it offers nothing else.
struct RunnableObject final : com::ComObject<RunnableObject, IRunnableObject> {
    explicit RunnableObject(HRESULT result = S_OK) : runResult(result) {}
    HRESULT GetRunningClass(CLSID*) override { return E_NOTIMPL; }
    HRESULT Run(void*) override {
        ++runs;
        return runResult;
    }
    BOOL IsRunning() override { return runs > 0; }
    HRESULT LockRunning(BOOL, BOOL) override { return S_OK; }
    HRESULT SetContainedObject(BOOL) override { return S_OK; }

    HRESULT runResult;
    int runs = 0;
};

// Registers a factory for a class id for the life of the object, so that CoCreateInstance
// builds a test double instead of the module's own class.
class ScopedClassOverride {
public:
    // `create` answers CreateInstance: it returns the new object's IUnknown (holding one
    // reference), or fails with `*hr` set.
    using Create = std::function<HRESULT(IUnknown** object)>;

    ScopedClassOverride(REFCLSID clsid, Create create);
    ~ScopedClassOverride();
    ScopedClassOverride(const ScopedClassOverride&) = delete;
    ScopedClassOverride& operator=(const ScopedClassOverride&) = delete;

private:
    ULONG m_cookie = 0;
};

}  // namespace orvanta::testing
