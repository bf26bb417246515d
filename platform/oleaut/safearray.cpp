// SAFEARRAY: a descriptor with its bounds, and the element type kept just before it.
#include <cstdlib>
#include <cstring>
#include <new>

#include <oleauto.h>

namespace {

constexpr USHORT FADF_HAVEVARTYPE = 0x0080;
constexpr USHORT FADF_BSTR = 0x0100;
constexpr USHORT FADF_UNKNOWN = 0x0200;
constexpr USHORT FADF_DISPATCH = 0x0400;
constexpr USHORT FADF_VARIANT = 0x0800;

struct Block {
    VARTYPE vt;
    alignas(std::max_align_t) unsigned char descriptor[1];
};

std::size_t ElementSize(VARTYPE vt) {
    switch (vt) {
        case VT_I1: case VT_UI1: return 1;
        case VT_I2: case VT_UI2: case VT_BOOL: return 2;
        case VT_I4: case VT_UI4: case VT_R4: case VT_INT: case VT_UINT: case VT_ERROR: return 4;
        case VT_I8: case VT_UI8: case VT_R8: case VT_CY: case VT_DATE: return 8;
        case VT_BSTR: case VT_UNKNOWN: case VT_DISPATCH: return sizeof(void*);
        case VT_VARIANT: return sizeof(VARIANT);
        case VT_DECIMAL: return sizeof(DECIMAL);
        default: return 0;
    }
}

USHORT FeaturesOf(VARTYPE vt) {
    switch (vt) {
        case VT_BSTR: return FADF_HAVEVARTYPE | FADF_BSTR;
        case VT_UNKNOWN: return FADF_HAVEVARTYPE | FADF_UNKNOWN;
        case VT_DISPATCH: return FADF_HAVEVARTYPE | FADF_DISPATCH;
        case VT_VARIANT: return FADF_HAVEVARTYPE | FADF_VARIANT;
        default: return FADF_HAVEVARTYPE;
    }
}

Block* BlockOf(SAFEARRAY* array) {
    return reinterpret_cast<Block*>(reinterpret_cast<unsigned char*>(array) - offsetof(Block, descriptor));
}

std::size_t ElementCount(const SAFEARRAY* array) {
    std::size_t count = 1;
    for (USHORT i = 0; i < array->cDims; ++i) count *= array->rgsabound[i].cElements;
    return count;
}

SAFEARRAY* AllocateDescriptor(VARTYPE vt, UINT dims) {
    const std::size_t bytes =
        offsetof(Block, descriptor) + sizeof(SAFEARRAY) + (dims > 1 ? dims - 1 : 0) * sizeof(SAFEARRAYBOUND);
    auto* block = static_cast<Block*>(std::calloc(1, bytes));
    if (!block) return nullptr;
    block->vt = vt;
    auto* array = reinterpret_cast<SAFEARRAY*>(block->descriptor);
    array->cDims = static_cast<USHORT>(dims);
    array->fFeatures = FeaturesOf(vt);
    array->cbElements = static_cast<ULONG>(ElementSize(vt));
    return array;
}

void ClearElements(SAFEARRAY* array) {
    const std::size_t count = ElementCount(array);
    if (array->fFeatures & FADF_BSTR) {
        auto* items = static_cast<BSTR*>(array->pvData);
        for (std::size_t i = 0; i < count; ++i) SysFreeString(items[i]);
    } else if (array->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
        auto* items = static_cast<IUnknown**>(array->pvData);
        for (std::size_t i = 0; i < count; ++i) {
            if (items[i]) items[i]->Release();
        }
    } else if (array->fFeatures & FADF_VARIANT) {
        auto* items = static_cast<VARIANT*>(array->pvData);
        for (std::size_t i = 0; i < count; ++i) VariantClear(&items[i]);
    }
}

}  // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, SAFEARRAYBOUND* bounds) {
    if (dims == 0 || dims > 0xFFFF || !bounds || ElementSize(vt) == 0) return nullptr;
    SAFEARRAY* array = AllocateDescriptor(vt, dims);
    if (!array) return nullptr;
    // The platform keeps the bounds in reverse order of the dimensions.
    for (UINT i = 0; i < dims; ++i) array->rgsabound[i] = bounds[dims - 1 - i];
    const std::size_t count = ElementCount(array);
    if (count != 0 && count > SIZE_MAX / array->cbElements) {
        std::free(BlockOf(array));
        return nullptr;
    }
    array->pvData = std::calloc(count == 0 ? 1 : count, array->cbElements);
    if (!array->pvData) {
        std::free(BlockOf(array));
        return nullptr;
    }
    return array;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements) {
    SAFEARRAYBOUND bound{elements, lowerBound};
    return SafeArrayCreate(vt, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) {
    if (!array) return S_OK;
    if (array->cLocks > 0) return DISP_E_ARRAYISLOCKED;
    ClearElements(array);
    std::free(array->pvData);
    std::free(BlockOf(array));
    return S_OK;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt) {
    if (!array || !vt) return E_INVALIDARG;
    *vt = BlockOf(array)->vt;
    return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* array, SAFEARRAY** copy) {
    if (!copy) return E_INVALIDARG;
    *copy = nullptr;
    if (!array) return S_OK;
    const VARTYPE vt = BlockOf(array)->vt;
    SAFEARRAY* target = AllocateDescriptor(vt, array->cDims);
    if (!target) return E_OUTOFMEMORY;
    std::memcpy(target->rgsabound, array->rgsabound, array->cDims * sizeof(SAFEARRAYBOUND));
    const std::size_t count = ElementCount(array);
    target->pvData = std::calloc(count == 0 ? 1 : count, array->cbElements);
    if (!target->pvData) {
        std::free(BlockOf(target));
        return E_OUTOFMEMORY;
    }
    HRESULT hr = S_OK;
    if (array->fFeatures & FADF_BSTR) {
        auto* from = static_cast<BSTR*>(array->pvData);
        auto* to = static_cast<BSTR*>(target->pvData);
        for (std::size_t i = 0; i < count && SUCCEEDED(hr); ++i) {
            if (!from[i]) continue;
            to[i] = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(from[i]), SysStringByteLen(from[i]));
            if (!to[i]) hr = E_OUTOFMEMORY;
        }
    } else if (array->fFeatures & FADF_VARIANT) {
        auto* from = static_cast<VARIANT*>(array->pvData);
        auto* to = static_cast<VARIANT*>(target->pvData);
        for (std::size_t i = 0; i < count && SUCCEEDED(hr); ++i) hr = VariantCopy(&to[i], &from[i]);
    } else {
        std::memcpy(target->pvData, array->pvData, count * array->cbElements);
        if (array->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
            auto* items = static_cast<IUnknown**>(target->pvData);
            for (std::size_t i = 0; i < count; ++i) {
                if (items[i]) items[i]->AddRef();
            }
        }
    }
    if (FAILED(hr)) {
        SafeArrayDestroy(target);
        return hr;
    }
    *copy = target;
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
    if (!array || !data) return E_INVALIDARG;
    ++array->cLocks;
    *data = array->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) {
    if (!array) return E_INVALIDARG;
    if (array->cLocks == 0) return E_UNEXPECTED;
    --array->cLocks;
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* array) { return array ? array->cDims : 0; }

UINT SafeArrayGetElemsize(SAFEARRAY* array) { return array ? array->cbElements : 0; }

HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound) {
    if (!array || !bound) return E_INVALIDARG;
    if (dim == 0 || dim > array->cDims) return DISP_E_BADINDEX;
    *bound = array->rgsabound[array->cDims - dim].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound) {
    if (!array || !bound) return E_INVALIDARG;
    if (dim == 0 || dim > array->cDims) return DISP_E_BADINDEX;
    const SAFEARRAYBOUND& b = array->rgsabound[array->cDims - dim];
    *bound = static_cast<LONG>(b.lLbound + static_cast<LONG>(b.cElements) - 1);
    return S_OK;
}
