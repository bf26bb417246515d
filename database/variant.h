// A VARIANT owned for the length of one ADO call, cleared when it goes.
#pragma once

#include <windows.h>

class CVariant : public VARIANT {
public:
    CVariant() { vt = VT_EMPTY; }
    // Only values that own something need clearing; the others simply end.
    ~CVariant() {
        if (vt == VT_BSTR || vt == VT_DISPATCH || vt == VT_UNKNOWN || (vt & (VT_ARRAY | VT_BYREF))) VariantClear(this);
    }
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;
};
