// Apartments, class objects and object creation.
#include <array>
#include <mutex>

#include <comptr.h>
#include <oleauto.h>

namespace {

// Both are trivially destructible on purpose: see t_errorInfo.
thread_local ULONG t_initialisations = 0;

struct RegisteredClass {
    CLSID clsid;
    IClassFactory* factory;  // null: a free slot
    ULONG cookie;
};

// Constant-initialised and never destroyed, so that static objects of any module may register,
// create and revoke while the process starts and ends, in whatever order they run.
constexpr std::size_t kMaxRegistered = 64;
constinit std::mutex g_registeredMutex;
constinit std::array<RegisteredClass, kMaxRegistered> g_registered{};
constinit ULONG g_nextCookie = 1;

ComPtr<IClassFactory> FindRegistered(REFCLSID clsid) {
    std::lock_guard lock(g_registeredMutex);
    // The latest registration of a class wins: it has the highest cookie.
    const RegisteredClass* found = nullptr;
    for (const RegisteredClass& entry : g_registered) {
        if (entry.factory && entry.clsid == clsid && (!found || entry.cookie > found->cookie)) found = &entry;
    }
    return found ? ComPtr<IClassFactory>(found->factory) : nullptr;
}

}  // namespace

HRESULT CoInitializeEx(void* /*reserved*/, ULONG /*coinit*/) {
    return t_initialisations++ == 0 ? S_OK : S_FALSE;
}

HRESULT CoInitialize(void* reserved) { return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED); }

void CoUninitialize() {
    if (t_initialisations == 0) return;
    if (--t_initialisations == 0) SetErrorInfo(0, nullptr);
}

HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* classObject, ULONG /*context*/, ULONG /*flags*/,
                              ULONG* cookie) {
    if (!classObject || !cookie) return E_INVALIDARG;
    *cookie = 0;
    ComPtr<IClassFactory> factory;
    if (FAILED(classObject->QueryInterface(IID_IClassFactory, factory.ReleaseAndGetVoidAddress()))) {
        return E_INVALIDARG;
    }
    std::lock_guard lock(g_registeredMutex);
    for (RegisteredClass& entry : g_registered) {
        if (entry.factory) continue;
        entry = {clsid, factory.Detach(), g_nextCookie};
        *cookie = g_nextCookie++;
        return S_OK;
    }
    return E_OUTOFMEMORY;
}

HRESULT CoRevokeClassObject(ULONG cookie) {
    IClassFactory* factory = nullptr;
    {
        std::lock_guard lock(g_registeredMutex);
        for (RegisteredClass& entry : g_registered) {
            if (entry.factory && entry.cookie == cookie) {
                factory = std::exchange(entry.factory, nullptr);
                break;
            }
        }
    }
    if (!factory) return CO_E_OBJNOTREG;
    factory->Release();
    return S_OK;
}

HRESULT CoGetClassObject(REFCLSID clsid, ULONG /*context*/, void* /*serverInfo*/, REFIID iid, void** object) {
    if (!object) return E_INVALIDARG;
    *object = nullptr;
    if (ComPtr<IClassFactory> registered = FindRegistered(clsid)) {
        return registered->QueryInterface(iid, object);
    }
    const HRESULT hr = DllGetClassObject(clsid, iid, object);
    return hr == CLASS_E_CLASSNOTAVAILABLE ? REGDB_E_CLASSNOTREG : hr;
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, ULONG context, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    ComPtr<IClassFactory> factory;
    const HRESULT hr = CoGetClassObject(clsid, context, nullptr, IID_IClassFactory, factory.ReleaseAndGetVoidAddress());
    if (FAILED(hr)) return hr;
    return factory->CreateInstance(nullptr, iid, object);
}

HRESULT OleRun(IUnknown* object) {
    if (!object) return E_INVALIDARG;
    ComPtr<IRunnableObject> runnable;
    if (FAILED(object->QueryInterface(IID_IRunnableObject, runnable.ReleaseAndGetVoidAddress()))) {
        return S_OK;  // an object that cannot be run is running already
    }
    return runnable->Run(nullptr);
}
