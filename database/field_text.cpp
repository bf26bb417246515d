#include "database/field_text.h"

#include <charconv>

#include "database/com_error.h"
#include "database/date_text.h"
#include "database/number_text.h"

namespace {

constexpr int kCurrencyCharacters = 64;

// Number texts are ASCII; they reach UTF-16 through the thread's ANSI code page.
void Widen(const char* narrow, std::size_t length, std::u16string& text) {
    text.resize(length);
    if (length == 0) return;
    const int written = MultiByteToWideChar(CP_THREAD_ACP, 0, narrow, static_cast<int>(length), text.data(),
                                            static_cast<int>(length));
    text.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
}

void NumberText(double value, int digits, std::u16string& text) {
    char buffer[32];
    Widen(buffer, GeneralNumberText(value, digits, buffer), text);
}

template <class Integer>
void IntegerText(Integer value, std::u16string& text) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    Widen(buffer, static_cast<std::size_t>(result.ptr - buffer), text);
}

std::u16string CurrencyText(VARIANT& value) {
    if (HRESULT hr = VariantChangeType(&value, &value, 0, VT_R8); FAILED(hr)) throw ComError(hr, nullptr);
    char fixed[64];
    const auto result = std::to_chars(fixed, fixed + sizeof fixed, value.dblVal, std::chars_format::fixed, 6);
    *result.ptr = 0;
    std::u16string plain;
    Widen(fixed, static_cast<std::size_t>(result.ptr - fixed), plain);

    WCHAR formatted[kCurrencyCharacters];
    if (GetCurrencyFormatW(LOCALE_USER_DEFAULT, 0, plain.c_str(), nullptr, formatted, kCurrencyCharacters - 1) > 0) {
        return formatted;
    }
    return plain;
}

}  // namespace

bool VariantToFieldText(VARIANT& value, std::u16string& text, const std::u16string& dateFormat) {
    switch (value.vt) {
        case VT_EMPTY:
        case VT_NULL: text.clear(); return true;
        case VT_I1: IntegerText(static_cast<int>(value.cVal), text); return true;
        case VT_I2: IntegerText(value.iVal, text); return true;
        case VT_I4: IntegerText(value.lVal, text); return true;
        case VT_INT: IntegerText(value.intVal, text); return true;
        case VT_I8: IntegerText(value.llVal, text); return true;
        case VT_UI1: IntegerText(static_cast<unsigned>(value.bVal), text); return true;
        case VT_UI2: IntegerText(static_cast<unsigned>(value.uiVal), text); return true;
        case VT_UI4: IntegerText(value.ulVal, text); return true;
        case VT_UINT: IntegerText(value.uintVal, text); return true;
        case VT_UI8: IntegerText(value.ullVal, text); return true;
        case VT_R4: NumberText(static_cast<double>(value.fltVal), 10, text); return true;
        case VT_R8: NumberText(value.dblVal, 20, text); return true;
        case VT_DECIMAL: NumberText(DecimalToDouble(value.decVal), 20, text); return true;
        case VT_CY: text = CurrencyText(value); return true;
        case VT_DATE: DateText(value.date, dateFormat, text); return true;
        case VT_BOOL: text = value.boolVal == VARIANT_TRUE ? u"T" : u"F"; return true;
        case VT_BSTR:
            if (value.bstrVal) {
                text.assign(value.bstrVal, std::char_traits<char16_t>::length(value.bstrVal));
            } else {
                text.clear();
            }
            return true;
        default: return false;
    }
}
