#include "support/com_testing.h"

#include <stdexcept>

namespace orvanta::testing {
namespace {

class FunctionFactory final : public com::ComObject<FunctionFactory, IClassFactory> {
public:
    explicit FunctionFactory(ScopedClassOverride::Create create) : m_create(std::move(create)) {}

    HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        ComPtr<IUnknown> unknown;
        if (HRESULT hr = m_create(unknown.GetAddressOf()); FAILED(hr)) return hr;
        return unknown->QueryInterface(iid, object);
    }
    HRESULT LockServer(BOOL) override { return S_OK; }

private:
    ScopedClassOverride::Create m_create;
};

}  // namespace

ScopedClassOverride::ScopedClassOverride(REFCLSID clsid, Create create) {
    auto factory = com::MakeCom<FunctionFactory>(std::move(create));
    if (FAILED(CoRegisterClassObject(clsid, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie))) {
        throw std::runtime_error("CoRegisterClassObject failed");
    }
}

ScopedClassOverride::~ScopedClassOverride() { CoRevokeClassObject(m_cookie); }

}  // namespace orvanta::testing
