// The in-process server of the object model: its class table.
#include <objbase.h>

#include "com/object.h"
#include "objects/connection.h"
#include "objects/recordset.h"

namespace orvanta::objects {
namespace {

template <class Object>
class ClassFactory final : public IClassFactory {
public:
    constexpr ClassFactory() = default;

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    // The factories are static; they live as long as the module.
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }

    HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        try {
            return com::MakeCom<Object>()->QueryInterface(iid, object);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
    HRESULT LockServer(BOOL) override { return S_OK; }
};

constinit ClassFactory<Connection> g_connectionFactory;
constinit ClassFactory<Recordset> g_recordsetFactory;

struct BuiltInClass {
    const CLSID& clsid;
    IClassFactory* factory;
};

constexpr BuiltInClass kClasses[] = {
    {CLSID_Connection, &g_connectionFactory},
    {CLSID_Recordset, &g_recordsetFactory},
};

}  // namespace
}  // namespace orvanta::objects

HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    for (const auto& entry : orvanta::objects::kClasses) {
        if (entry.clsid == clsid) return entry.factory->QueryInterface(iid, object);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}
