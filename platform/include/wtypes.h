// Fixed-width base types of the platform. LONG and ULONG are 32 bits in both builds.
#pragma once

#include <cstddef>
#include <cstdint>

#include "winerror.h"

typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
typedef std::uint32_t DWORD;
typedef std::uint16_t WORD;
typedef std::uint8_t BYTE;
typedef std::int8_t CHAR_SIGNED;
typedef std::int16_t SHORT;
typedef std::uint16_t USHORT;
typedef std::int32_t INT;
typedef std::uint32_t UINT;
typedef std::int32_t BOOL;
typedef std::int64_t LONGLONG;
typedef std::uint64_t ULONGLONG;
typedef std::intptr_t LONG_PTR;
typedef std::uintptr_t ULONG_PTR;
typedef float FLOAT;
typedef double DOUBLE;
typedef char CHAR;
typedef char16_t WCHAR;
typedef WCHAR OLECHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* HANDLE;
typedef HANDLE HLOCAL;
typedef DWORD LCID;
typedef WORD LANGID;
typedef LONG SCODE;
typedef LONG DISPID;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

// A BSTR points at its first character; the byte length is stored in the four bytes before it and
// a null character follows the text. A null BSTR is the empty string.
typedef OLECHAR* BSTR;

typedef SHORT VARIANT_BOOL;
inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

// Days since 30 December 1899; the fraction is the time of day.
typedef double DATE;

// Currency: a 64-bit integer scaled by 10000.
union CY {
    struct {
        ULONG Lo;
        LONG Hi;
    };
    LONGLONG int64;
};

inline constexpr BYTE DECIMAL_NEG = 0x80;

// A 96-bit unsigned mantissa, a power-of-ten scale (0 to 28) and a sign.
struct DECIMAL {
    USHORT wReserved;
    BYTE scale;
    BYTE sign;
    ULONG Hi32;
    union {
        struct {
            ULONG Lo32;
            ULONG Mid32;
        };
        ULONGLONG Lo64;
    };
};

typedef USHORT VARTYPE;
