#include <cstring>

#include <gtest/gtest.h>

#include <comptr.h>
#include <oleauto.h>

#include "com/error_info.h"
#include "support/com_testing.h"

namespace orvanta {
namespace {

TEST(Bstr, KeepsLengthInPrefixAndNullAfterText) {
    const char16_t text[] = u"a\0b";
    BSTR s = SysAllocStringLen(text, 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 3u);
    EXPECT_EQ(SysStringByteLen(s), 6u);
    std::uint32_t prefix;
    std::memcpy(&prefix, reinterpret_cast<char*>(s) - 4, 4);
    EXPECT_EQ(prefix, 6u);
    EXPECT_EQ(std::u16string(s, 3), std::u16string(text, 3)) << "embedded nulls are kept";
    EXPECT_EQ(s[3], u'\0');
    SysFreeString(s);
}

TEST(Bstr, NullIsTheEmptyString) {
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    SysFreeString(nullptr);

    BSTR empty = SysAllocString(u"");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0u);
    SysFreeString(empty);

    BSTR unwritten = SysAllocStringLen(nullptr, 4);
    ASSERT_NE(unwritten, nullptr);
    EXPECT_EQ(SysStringLen(unwritten), 4u);
    EXPECT_EQ(unwritten[4], u'\0');
    SysFreeString(unwritten);

    BSTR odd = SysAllocStringByteLen("abc", 3);
    EXPECT_EQ(SysStringByteLen(odd), 3u);
    EXPECT_EQ(SysStringLen(odd), 1u);
    SysFreeString(odd);
}

TEST(Variant, CopyIsDeepAndClearReleases) {
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(u"text");

    VARIANT copy;
    VariantInit(&copy);
    copy.vt = VT_I4;
    copy.lVal = 7;
    ASSERT_EQ(VariantCopy(&copy, &source), S_OK);
    EXPECT_EQ(copy.vt, VT_BSTR);
    EXPECT_NE(copy.bstrVal, source.bstrVal);
    EXPECT_EQ(std::u16string(copy.bstrVal), u"text");
    EXPECT_EQ(VariantClear(&copy), S_OK);
    EXPECT_EQ(copy.vt, VT_EMPTY);
    EXPECT_EQ(std::u16string(source.bstrVal), u"text");
    VariantClear(&source);

    VARIANT decimal;
    VariantInit(&decimal);
    decimal.decVal.scale = 2;
    decimal.decVal.sign = DECIMAL_NEG;
    decimal.decVal.Hi32 = 1;
    decimal.decVal.Lo64 = 12345;
    decimal.vt = VT_DECIMAL;
    VARIANT decimalCopy;
    VariantInit(&decimalCopy);
    ASSERT_EQ(VariantCopy(&decimalCopy, &decimal), S_OK);
    EXPECT_EQ(decimalCopy.vt, VT_DECIMAL);
    EXPECT_EQ(decimalCopy.decVal.scale, 2);
    EXPECT_EQ(decimalCopy.decVal.sign, DECIMAL_NEG);
    EXPECT_EQ(decimalCopy.decVal.Hi32, 1u);
    EXPECT_EQ(decimalCopy.decVal.Lo64, 12345u);
}

TEST(Variant, CopyOfAnArrayOwnsItsOwnElements) {
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_ARRAY | VT_UI1;
    source.parray = SafeArrayCreateVector(VT_UI1, 0, 3);
    ASSERT_NE(source.parray, nullptr);
    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(source.parray, &data), S_OK);
    std::memcpy(data, "xyz", 3);
    EXPECT_EQ(SafeArrayDestroy(source.parray), DISP_E_ARRAYISLOCKED) << "a locked array stays";
    SafeArrayUnaccessData(source.parray);

    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(VariantCopy(&copy, &source), S_OK);
    ASSERT_NE(copy.parray, source.parray);
    LONG lower = -1, upper = -1;
    EXPECT_EQ(SafeArrayGetLBound(copy.parray, 1, &lower), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(copy.parray, 1, &upper), S_OK);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 2);
    EXPECT_EQ(std::memcmp(copy.parray->pvData, "xyz", 3), 0);
    EXPECT_EQ(VariantClear(&source), S_OK);
    EXPECT_EQ(VariantClear(&copy), S_OK);
}

TEST(Variant, RefusesUnknownTypes) {
    VARIANT bad;
    VariantInit(&bad);
    bad.vt = 0x0FFF;
    VARIANT copy;
    VariantInit(&copy);
    EXPECT_EQ(VariantCopy(&copy, &bad), DISP_E_BADVARTYPE);
    EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
}

TEST(ErrorInfo, SetReplacesGetHandsOverAndEmpties) {
    IErrorInfo* info = reinterpret_cast<IErrorInfo*>(0x1);
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(GetErrorInfo(0, &info), S_FALSE);
    EXPECT_EQ(info, nullptr);

    com::SetThreadErrorInfo(IID_IUnknown, u"first", u"one");
    com::SetThreadErrorInfo(IID_IUnknown, u"second", u"two");
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    ComPtr<IErrorInfo> taken;
    taken.Attach(info);
    BSTR source = nullptr, description = nullptr;
    EXPECT_EQ(taken->GetSource(&source), S_OK);
    EXPECT_EQ(taken->GetDescription(&description), S_OK);
    EXPECT_EQ(std::u16string(source), u"second");
    EXPECT_EQ(std::u16string(description), u"two");
    SysFreeString(source);
    SysFreeString(description);
    EXPECT_EQ(testing::RefCount(taken.Get()), 1u) << "the slot gave its reference away";

    EXPECT_EQ(GetErrorInfo(0, &info), S_FALSE);
}

TEST(ErrorInfo, BelongsToTheThreadThatSetIt) {
    com::SetThreadErrorInfo(IID_IUnknown, u"main", u"main thread");
    HRESULT other = S_OK;
    std::thread([&] {
        IErrorInfo* info = nullptr;
        other = GetErrorInfo(0, &info);
    }).join();
    EXPECT_EQ(other, S_FALSE);
    IErrorInfo* info = nullptr;
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    info->Release();
}

TEST(ErrorInfo, CreateErrorInfoBuildsAnObjectWithBothInterfaces) {
    ComPtr<ICreateErrorInfo> create;
    ASSERT_EQ(CreateErrorInfo(create.GetAddressOf()), S_OK);
    EXPECT_EQ(create->SetDescription(const_cast<LPOLESTR>(u"described")), S_OK);
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(create.As(&info), S_OK);
    BSTR description = nullptr;
    ASSERT_EQ(info->GetDescription(&description), S_OK);
    EXPECT_EQ(std::u16string(description), u"described");
    SysFreeString(description);
}

}  // namespace
}  // namespace orvanta
