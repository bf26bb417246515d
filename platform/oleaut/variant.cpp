// VARIANT life cycle: initialise, clear, deep copy.
#include <cstring>

#include <oleauto.h>

namespace {

bool IsKnownType(VARTYPE vt) {
    switch (vt & VT_TYPEMASK) {
        case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_CY:
        case VT_DATE: case VT_BSTR: case VT_DISPATCH: case VT_ERROR: case VT_BOOL: case VT_VARIANT:
        case VT_UNKNOWN: case VT_DECIMAL: case VT_I1: case VT_UI1: case VT_UI2: case VT_UI4:
        case VT_I8: case VT_UI8: case VT_INT: case VT_UINT:
            return true;
        default:
            return false;
    }
}

}  // namespace

void VariantInit(VARIANTARG* v) {
    if (!v) return;
    v->vt = VT_EMPTY;
    v->wReserved1 = v->wReserved2 = v->wReserved3 = 0;
}

HRESULT VariantClear(VARIANTARG* v) {
    if (!v) return E_INVALIDARG;
    if (!IsKnownType(v->vt)) return DISP_E_BADVARTYPE;
    if (!(v->vt & VT_BYREF)) {
        if (v->vt & VT_ARRAY) {
            if (HRESULT hr = SafeArrayDestroy(v->parray); FAILED(hr)) return hr;
        } else {
            switch (v->vt) {
                case VT_BSTR: SysFreeString(v->bstrVal); break;
                case VT_DISPATCH:
                case VT_UNKNOWN:
                    if (v->punkVal) v->punkVal->Release();
                    break;
                default: break;
            }
        }
    }
    v->vt = VT_EMPTY;
    return S_OK;
}

HRESULT VariantCopy(VARIANTARG* target, const VARIANTARG* source) {
    if (!target || !source) return E_INVALIDARG;
    if (target == source) return S_OK;
    if (!IsKnownType(source->vt)) return DISP_E_BADVARTYPE;
    if (HRESULT hr = VariantClear(target); FAILED(hr)) return hr;

    VARIANT copy;
    std::memcpy(&copy, source, sizeof(VARIANT));
    if (!(source->vt & VT_BYREF)) {
        if (source->vt & VT_ARRAY) {
            if (HRESULT hr = SafeArrayCopy(source->parray, &copy.parray); FAILED(hr)) return hr;
        } else if (source->vt == VT_BSTR && source->bstrVal) {
            copy.bstrVal = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(source->bstrVal),
                                                 SysStringByteLen(source->bstrVal));
            if (!copy.bstrVal) return E_OUTOFMEMORY;
        } else if ((source->vt == VT_UNKNOWN || source->vt == VT_DISPATCH) && source->punkVal) {
            source->punkVal->AddRef();
        }
    }
    std::memcpy(target, &copy, sizeof(VARIANT));
    return S_OK;
}
