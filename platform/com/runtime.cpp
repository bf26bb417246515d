// Apartments, class objects and object creation.
#include <mutex>
#include <vector>

#include <comptr.h>
#include <oleauto.h>

namespace {

// Both are trivially destructible on purpose: see t_errorInfo.
thread_local ULONG t_initialisations = 0;

struct RegisteredClass {
    CLSID clsid;
    IClassFactory* factory;
    ULONG cookie;
};

// Constant-initialised, so that objects built while the module is being loaded can already
// create instances.
constinit std::mutex g_registeredMutex;
constinit std::vector<RegisteredClass> g_registered;
constinit ULONG g_nextCookie = 1;

ComPtr<IClassFactory> FindRegistered(REFCLSID clsid) {
    std::lock_guard lock(g_registeredMutex);
    for (auto it = g_registered.rbegin(); it != g_registered.rend(); ++it) {
        if (it->clsid == clsid) return ComPtr<IClassFactory>(it->factory);
    }
    return nullptr;
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
    try {
        std::lock_guard lock(g_registeredMutex);
        g_registered.push_back({clsid, factory.Get(), g_nextCookie});
        (void)factory.Detach();
        *cookie = g_nextCookie++;
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CoRevokeClassObject(ULONG cookie) {
    IClassFactory* factory = nullptr;
    {
        std::lock_guard lock(g_registeredMutex);
        for (auto it = g_registered.begin(); it != g_registered.end(); ++it) {
            if (it->cookie == cookie) {
                factory = it->factory;
                g_registered.erase(it);
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
