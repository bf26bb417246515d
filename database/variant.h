// A VARIANT owned for the length of one ADO call, cleared when it goes.
#pragma once

#include <windows.h>

class CVariant : public VARIANT {
public:
    CVariant() { VariantInit(this); }
    ~CVariant() { VariantClear(this); }
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;
};
