// VariantChangeType between the numeric types, currency, booleans and dates.
#include <cmath>
#include <cstdint>
#include <limits>

#include <oleauto.h>

namespace {

// A numeric value read from a VARIANT: exact integers stay integers.
struct Number {
    enum class Kind { Integer, Unsigned, Real, Currency } kind;
    std::int64_t integer = 0;  // Integer, and Currency scaled by 10000
    std::uint64_t unsignedValue = 0;
    double real = 0;

    double AsReal() const {
        switch (kind) {
            case Kind::Integer: return static_cast<double>(integer);
            case Kind::Unsigned: return static_cast<double>(unsignedValue);
            case Kind::Real: return real;
            case Kind::Currency: return static_cast<double>(integer) / 10000.0;
        }
        return 0;
    }
};

Number Integer(std::int64_t value) { return {Number::Kind::Integer, value}; }
Number Real(double value) {
    Number n{Number::Kind::Real};
    n.real = value;
    return n;
}

HRESULT Read(const VARIANT& v, Number& n) {
    switch (v.vt) {
        case VT_EMPTY: n = Integer(0); return S_OK;
        case VT_I1: n = Integer(v.cVal); return S_OK;
        case VT_I2: n = Integer(v.iVal); return S_OK;
        case VT_I4: case VT_INT: n = Integer(v.lVal); return S_OK;
        case VT_I8: n = Integer(v.llVal); return S_OK;
        case VT_UI1: n = Integer(v.bVal); return S_OK;
        case VT_UI2: n = Integer(v.uiVal); return S_OK;
        case VT_UI4: case VT_UINT: n = Integer(v.ulVal); return S_OK;
        case VT_UI8:
            n = Number{Number::Kind::Unsigned};
            n.unsignedValue = v.ullVal;
            return S_OK;
        case VT_BOOL: n = Integer(v.boolVal ? -1 : 0); return S_OK;
        case VT_R4: n = Real(v.fltVal); return S_OK;
        case VT_R8: n = Real(v.dblVal); return S_OK;
        case VT_DATE: n = Real(v.date); return S_OK;
        case VT_CY: n = Number{Number::Kind::Currency, v.cyVal.int64}; return S_OK;
        case VT_NULL: return DISP_E_TYPEMISMATCH;
        default: return DISP_E_BADVARTYPE;
    }
}

// Whole numbers round half to even, as the platform's conversions do.
bool ToInteger(const Number& n, std::int64_t low, std::uint64_t high, std::int64_t& out, std::uint64_t& outUnsigned) {
    if (n.kind == Number::Kind::Unsigned) {
        if (n.unsignedValue > high) return false;
        outUnsigned = n.unsignedValue;
        out = static_cast<std::int64_t>(n.unsignedValue);
        return true;
    }
    long double value;
    if (n.kind == Number::Kind::Integer) {
        value = static_cast<long double>(n.integer);
    } else if (n.kind == Number::Kind::Currency) {
        const std::int64_t whole = n.integer / 10000;
        const std::int64_t rest = n.integer % 10000;
        std::int64_t rounded = whole;
        if (rest > 5000 || (rest == 5000 && (whole & 1))) ++rounded;
        if (rest < -5000 || (rest == -5000 && (whole & 1))) --rounded;
        value = static_cast<long double>(rounded);
    } else {
        if (!std::isfinite(n.real)) return false;
        value = std::nearbyint(static_cast<long double>(n.real));
    }
    if (value < static_cast<long double>(low) || value > static_cast<long double>(high)) return false;
    if (value < 0) {
        out = static_cast<std::int64_t>(value);
        outUnsigned = static_cast<std::uint64_t>(out);
    } else {
        outUnsigned = static_cast<std::uint64_t>(value);
        out = static_cast<std::int64_t>(outUnsigned);
    }
    return true;
}

HRESULT Write(const Number& n, VARTYPE vt, VARIANT& out) {
    std::int64_t i = 0;
    std::uint64_t u = 0;
    const auto integer = [&](std::int64_t low, std::uint64_t high) { return ToInteger(n, low, high, i, u); };
    switch (vt) {
        case VT_I1:
            if (!integer(INT8_MIN, INT8_MAX)) return DISP_E_OVERFLOW;
            out.cVal = static_cast<signed char>(i);
            break;
        case VT_I2:
            if (!integer(INT16_MIN, INT16_MAX)) return DISP_E_OVERFLOW;
            out.iVal = static_cast<SHORT>(i);
            break;
        case VT_I4: case VT_INT:
            if (!integer(INT32_MIN, INT32_MAX)) return DISP_E_OVERFLOW;
            out.lVal = static_cast<LONG>(i);
            break;
        case VT_I8:
            if (!integer(INT64_MIN, INT64_MAX)) return DISP_E_OVERFLOW;
            out.llVal = i;
            break;
        case VT_UI1:
            if (!integer(0, UINT8_MAX)) return DISP_E_OVERFLOW;
            out.bVal = static_cast<BYTE>(u);
            break;
        case VT_UI2:
            if (!integer(0, UINT16_MAX)) return DISP_E_OVERFLOW;
            out.uiVal = static_cast<USHORT>(u);
            break;
        case VT_UI4: case VT_UINT:
            if (!integer(0, UINT32_MAX)) return DISP_E_OVERFLOW;
            out.ulVal = static_cast<ULONG>(u);
            break;
        case VT_UI8:
            if (!integer(0, UINT64_MAX)) return DISP_E_OVERFLOW;
            out.ullVal = u;
            break;
        case VT_BOOL:
            out.boolVal = n.AsReal() != 0 || (n.kind == Number::Kind::Unsigned && n.unsignedValue != 0) ? VARIANT_TRUE
                                                                                                          : VARIANT_FALSE;
            break;
        case VT_R4: {
            const double value = n.AsReal();
            if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max()) return DISP_E_OVERFLOW;
            out.fltVal = static_cast<float>(value);
            break;
        }
        case VT_R8: out.dblVal = n.AsReal(); break;
        case VT_DATE: {
            const double value = n.AsReal();
            if (!(value >= -657434.0 && value < 2958466.0)) return DISP_E_OVERFLOW;
            out.date = value;
            break;
        }
        case VT_CY: {
            if (n.kind == Number::Kind::Currency) {
                out.cyVal.int64 = n.integer;
                break;
            }
            const long double scaled = n.kind == Number::Kind::Integer ? static_cast<long double>(n.integer) * 10000
                                                                      : std::nearbyint(static_cast<long double>(n.AsReal()) * 10000);
            if (!(scaled >= static_cast<long double>(INT64_MIN) && scaled < static_cast<long double>(INT64_MAX))) {
                return DISP_E_OVERFLOW;
            }
            out.cyVal.int64 = static_cast<std::int64_t>(scaled);
            break;
        }
        default: return DISP_E_TYPEMISMATCH;
    }
    out.vt = vt;
    return S_OK;
}

}  // namespace

HRESULT VariantChangeType(VARIANTARG* target, const VARIANTARG* source, USHORT /*flags*/, VARTYPE vt) {
    if (!target || !source) return E_INVALIDARG;
    if (source->vt == vt) return VariantCopy(target, source);
    if ((source->vt & (VT_ARRAY | VT_BYREF)) || (vt & (VT_ARRAY | VT_BYREF))) return DISP_E_TYPEMISMATCH;

    Number number{Number::Kind::Integer};
    if (HRESULT hr = Read(*source, number); FAILED(hr)) return hr;
    VARIANT result;
    VariantInit(&result);
    if (HRESULT hr = Write(number, vt, result); FAILED(hr)) return hr;
    if (HRESULT hr = VariantClear(target); FAILED(hr)) return hr;
    *target = result;
    return S_OK;
}
