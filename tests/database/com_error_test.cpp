#include <gtest/gtest.h>

#include "ado/interfaces.h"
#include "com/error_info.h"
#include "com/object.h"
#include "database/com_error.h"
#include "support/com_testing.h"
#include "support/text.h"

namespace orvanta {
namespace {

using testing::U8;

// Answers InterfaceSupportsErrorInfo as scripted and counts how often it was asked.
struct Supporter final : com::ComObject<Supporter, ISupportErrorInfo> {
    explicit Supporter(HRESULT answer) : m_answer(answer) {}
    HRESULT InterfaceSupportsErrorInfo(REFIID iid) override {
        asked = iid;
        return m_answer;
    }
    HRESULT m_answer;
    IID asked{};
};

ComError Raise(HRESULT code, IUnknown* object, REFIID iid) {
    try {
        RaiseComError(code, object, iid);
    } catch (const ComError& error) {
        return error;
    }
    throw std::logic_error("not raised");
}

TEST(RaiseComError, TakesTheThreadErrorOnlyWhenTheObjectVouchesForTheInterface) {
    struct Case {
        const char* label;
        ComPtr<IUnknown> object;
        bool expectInfo;
    };
    auto supporting = com::MakeCom<Supporter>(S_OK);
    const Case cases[] = {
        {"supported", ComPtr<IUnknown>(supporting.Get()), true},
        {"not for this interface", ComPtr<IUnknown>(com::MakeCom<Supporter>(S_FALSE).Get()), false},
        {"no ISupportErrorInfo", ComPtr<IUnknown>(com::MakeCom<testing::RunnableObject>().Get()), false},
        {"null interface", nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        com::SetThreadErrorInfo(IID_Connection15, u"The source", u"The description");
        const ComError error = Raise(MakeHresult(0x80040E14), c.object.Get(), IID_Connection15);
        EXPECT_EQ(error.Error(), MakeHresult(0x80040E14));
        EXPECT_EQ(error.ErrorInfo() != nullptr, c.expectInfo);
        EXPECT_EQ(U8(error.Source()), c.expectInfo ? "The source" : "");
        EXPECT_EQ(U8(error.Description()), c.expectInfo ? "The description" : "");
        IErrorInfo* left = nullptr;
        EXPECT_EQ(GetErrorInfo(0, &left) == S_OK, !c.expectInfo) << "taken only when used";
        if (left) left->Release();
    }
    EXPECT_EQ(supporting->asked, IID_Connection15);
}

TEST(RaiseComError, NoThreadErrorMeansNoInformation) {
    SetErrorInfo(0, nullptr);
    const ComError error = Raise(E_FAIL, com::MakeCom<Supporter>(S_OK).Get(), IID_Connection15);
    EXPECT_EQ(error.ErrorInfo(), nullptr);
}

TEST(ComCall, ANullInterfaceRaisesEPointerWithoutInformation) {
    ComPtr<_Connection> none;
    LONG state = 0;
    try {
        ComCall(none, &Connection15::get_State, &state);
        FAIL();
    } catch (const ComError& error) {
        EXPECT_EQ(error.Error(), E_POINTER);
        EXPECT_EQ(error.ErrorInfo(), nullptr);
        EXPECT_EQ(U8(error.Source()), "");
    }
}

TEST(ResultCodeText, UsesTheSystemTableOrTheTwoFallbacks) {
    struct Case {
        HRESULT code;
        const char* text;
    };
    const Case cases[] = {
        {E_POINTER, "Invalid pointer"},  // "\r\n" trimmed
        {E_OUTOFMEMORY, "Not enough memory resources are available to complete this operation."},
        {E_FAIL, "Unspecified error"},
        {E_INVALIDARG, "The parameter is incorrect."},
        {E_NOINTERFACE, "No such interface supported"},
        {E_NOTIMPL, "Not implemented"},
        {E_UNEXPECTED, "Catastrophic failure"},
        {MakeHresult(0x80040E14), "IDispatch error #3092"},
        {MakeHresult(0x80040201), "IDispatch error #1"},
        {MakeHresult(0x8004FFFF), "IDispatch error #65023"},
        {MakeHresult(0x80040200), "Unknown error 0x80040200"},
        {MakeHresult(0x800A0E7A), "Unknown error 0x800A0E7A"},
        {MakeHresult(0x00000ABC), "Unknown error 0xABC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ComError error(c.code, nullptr);
        const LPCWSTR first = error.ResultCodeText();
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(U8(first), c.text);
        EXPECT_EQ(error.ResultCodeText(), first) << "made once, then kept";
    }
}

TEST(ComError, CopiesShareTheErrorInformation) {
    com::SetThreadErrorInfo(IID_Connection15, u"s", u"d");
    IErrorInfo* info = nullptr;
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    {
        const ComError original(E_FAIL, info);
        const ComError copy(original);  // NOLINT(performance-unnecessary-copy-initialization)
        EXPECT_EQ(U8(copy.Description()), "d");
        info->AddRef();
        EXPECT_EQ(info->Release(), 2u);
    }
}

}  // namespace
}  // namespace orvanta
