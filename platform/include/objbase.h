// The COM run time: GUIDs, IUnknown, class objects, apartments and object creation.
#pragma once

#include <compare>

#include "winerror.h"
#include "wtypes.h"

struct GUID {
    ULONG Data1;
    USHORT Data2;
    USHORT Data3;
    BYTE Data4[8];

    friend constexpr bool operator==(const GUID&, const GUID&) = default;
};
typedef GUID IID;
typedef GUID CLSID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;
typedef const GUID& REFGUID;

inline constexpr bool IsEqualGUID(REFGUID a, REFGUID b) { return a == b; }
inline constexpr bool IsEqualIID(REFIID a, REFIID b) { return a == b; }

inline constexpr GUID GUID_NULL{};

// Every interface of the stand-in names its identifier and the interface it extends, so that an
// object can answer QueryInterface for the whole chain (see platform/com/object.h).
struct IUnknown {
    static constexpr IID Iid{0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
};
inline constexpr IID IID_IUnknown = IUnknown::Iid;

struct IClassFactory : IUnknown {
    static constexpr IID Iid{0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    using Base = IUnknown;

    virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
    virtual HRESULT LockServer(BOOL lock) = 0;
};
inline constexpr IID IID_IClassFactory = IClassFactory::Iid;

// An object that can be put into the running state; OleRun calls Run on objects that offer it.
struct IRunnableObject : IUnknown {
    static constexpr IID Iid{0x00000126, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    using Base = IUnknown;

    virtual HRESULT GetRunningClass(CLSID* clsid) = 0;
    virtual HRESULT Run(void* bindContext) = 0;
    virtual BOOL IsRunning() = 0;
    virtual HRESULT LockRunning(BOOL lock, BOOL lastUnlockCloses) = 0;
    virtual HRESULT SetContainedObject(BOOL contained) = 0;
};
inline constexpr IID IID_IRunnableObject = IRunnableObject::Iid;

enum CLSCTX : ULONG {
    CLSCTX_INPROC_SERVER = 0x1,
    CLSCTX_INPROC_HANDLER = 0x2,
    CLSCTX_LOCAL_SERVER = 0x4,
    CLSCTX_REMOTE_SERVER = 0x10,
    CLSCTX_ALL = 0x17,
};

enum COINIT : ULONG {
    COINIT_MULTITHREADED = 0x0,
    COINIT_APARTMENTTHREADED = 0x2,
};

enum REGCLS : ULONG {
    REGCLS_SINGLEUSE = 0,
    REGCLS_MULTIPLEUSE = 1,
};

// Initialisation is counted per thread: S_OK for the first call on a thread, S_FALSE for every
// further one, each to be balanced by CoUninitialize on the same thread. Objects are not tied to
// apartments: they may be used from any thread, initialised or not.
HRESULT CoInitialize(void* reserved);
HRESULT CoInitializeEx(void* reserved, ULONG coinit);
void CoUninitialize();

// Class objects registered here take precedence over the module's built-in classes.
HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* classObject, ULONG context,
                              ULONG flags, ULONG* cookie);
HRESULT CoRevokeClassObject(ULONG cookie);

HRESULT CoGetClassObject(REFCLSID clsid, ULONG context, void* serverInfo, REFIID iid, void** object);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, ULONG context, REFIID iid, void** object);
HRESULT OleRun(IUnknown* object);

// The in-process server linked into this module: its table of built-in classes.
HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object);
