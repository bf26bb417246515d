#include <thread>

#include <gtest/gtest.h>

#include "ado/interfaces.h"
#include "com/object.h"
#include "support/com_testing.h"

namespace orvanta {
namespace {

using testing::RefCount;
using testing::ScopedClassOverride;

TEST(CoInitialize, CountsPerThreadAndBalancesOnItsOwnThread) {
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    std::thread other([] {
        // Another thread starts with its own count.
        EXPECT_EQ(CoInitialize(nullptr), S_OK);
        CoUninitialize();
    });
    other.join();
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(CoInitialize(nullptr), S_OK) << "balanced calls bring the thread back to uninitialised";
    CoUninitialize();
    CoUninitialize();  // one too many does nothing
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    CoUninitialize();
}

TEST(CoCreateInstance, CreatesBuiltInClassesWithTheRequestedInterface) {
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(CoCreateInstance(CLSID_Connection, nullptr, CLSCTX_ALL, IID_IUnknown, unknown.ReleaseAndGetVoidAddress()), S_OK);
    EXPECT_EQ(OleRun(unknown.Get()), S_OK);
    ComPtr<_Connection> connection;
    ASSERT_EQ(unknown->QueryInterface(IID__Connection, connection.ReleaseAndGetVoidAddress()), S_OK);

    // Every interface of the chain, and IUnknown from any of them is the same object.
    for (const IID& iid : {IID_IDispatch, IID__ADO, IID_Connection15, IID__Connection, IID_ISupportErrorInfo}) {
        ComPtr<IUnknown> other;
        EXPECT_EQ(connection->QueryInterface(iid, other.ReleaseAndGetVoidAddress()), S_OK);
        ComPtr<IUnknown> identity;
        ASSERT_EQ(other->QueryInterface(IID_IUnknown, identity.ReleaseAndGetVoidAddress()), S_OK);
        EXPECT_EQ(identity.Get(), unknown.Get());
    }
    ComPtr<IUnknown> none;
    EXPECT_EQ(connection->QueryInterface(IID__Recordset, none.ReleaseAndGetVoidAddress()), E_NOINTERFACE);
    EXPECT_EQ(none.Get(), nullptr);

    unknown.Reset();
    EXPECT_EQ(RefCount(connection.Get()), 1u);
    EXPECT_EQ(connection.Reset(), 0u);
}

TEST(CoCreateInstance, RefusesUnknownClassesAndAggregation) {
    void* object = reinterpret_cast<void*>(0x1);
    const CLSID unknownClass{0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
    EXPECT_EQ(CoCreateInstance(unknownClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);

    ComPtr<IUnknown> outer;
    ASSERT_EQ(CoCreateInstance(CLSID_Connection, nullptr, CLSCTX_ALL, IID_IUnknown, outer.ReleaseAndGetVoidAddress()), S_OK);
    EXPECT_EQ(CoCreateInstance(CLSID_Connection, outer.Get(), CLSCTX_ALL, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
}

TEST(OleRun, RunsObjectsThatCanBeRunAndPassesTheirResult) {
    auto ok = com::MakeCom<testing::RunnableObject>(S_OK);
    EXPECT_EQ(OleRun(ok.Get()), S_OK);
    EXPECT_EQ(ok->runs, 1);
    auto failing = com::MakeCom<testing::RunnableObject>(E_FAIL);
    EXPECT_EQ(OleRun(failing.Get()), E_FAIL);
    EXPECT_EQ(OleRun(nullptr), E_INVALIDARG);
}

TEST(CoRegisterClassObject, ReplacesAClassUntilRevoked) {
    int created = 0;
    {
        ScopedClassOverride replacement(CLSID_Connection, [&](IUnknown** object) {
            ++created;
            *object = com::MakeCom<testing::RunnableObject>(S_OK).Detach();
            return S_OK;
        });
        ComPtr<IRunnableObject> runnable;
        ASSERT_EQ(CoCreateInstance(CLSID_Connection, nullptr, CLSCTX_ALL, IID_IRunnableObject,
                                   runnable.ReleaseAndGetVoidAddress()),
                  S_OK);
        EXPECT_EQ(created, 1);

        ScopedClassOverride failing(CLSID_Connection, [](IUnknown**) { return E_ACCESSDENIED; });
        ComPtr<IUnknown> refused;
        EXPECT_EQ(CoCreateInstance(CLSID_Connection, nullptr, CLSCTX_ALL, IID_IUnknown, refused.ReleaseAndGetVoidAddress()),
                  E_ACCESSDENIED) << "the latest registration wins";
    }
    ComPtr<_Connection> builtIn;
    EXPECT_EQ(CoCreateInstance(CLSID_Connection, nullptr, CLSCTX_ALL, IID__Connection, builtIn.ReleaseAndGetVoidAddress()),
              S_OK);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(CoRevokeClassObject(0xFFFFFFFF), CO_E_OBJNOTREG);
}

TEST(CoCreateInstance, WorksOnThreadsThatNeverInitialisedCom) {
    HRESULT hr = E_FAIL;
    std::thread([&] {
        ComPtr<_Connection> connection;
        hr = CoCreateInstance(CLSID_Connection, nullptr, CLSCTX_ALL, IID__Connection, connection.ReleaseAndGetVoidAddress());
    }).join();
    EXPECT_EQ(hr, S_OK);
}

}  // namespace
}  // namespace orvanta
