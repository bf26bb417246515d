// Class and interface identifiers of the ADO objects that the library uses.
#pragma once

#include <objbase.h>

namespace ado_detail {
// The ADO identifiers share one pattern: {0000nnnn-0000-0010-8000-00AA006D2EA4}.
constexpr GUID Guid(ULONG number) { return {number, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}}; }
}  // namespace ado_detail

inline constexpr CLSID CLSID_Connection = ado_detail::Guid(0x0514);
inline constexpr CLSID CLSID_Recordset = ado_detail::Guid(0x0535);

inline constexpr IID IID__ADO = ado_detail::Guid(0x0534);
inline constexpr IID IID_Connection15 = ado_detail::Guid(0x0515);
inline constexpr IID IID__Connection = ado_detail::Guid(0x0550);
inline constexpr IID IID_Recordset15 = ado_detail::Guid(0x050E);
inline constexpr IID IID_Recordset20 = ado_detail::Guid(0x054F);
inline constexpr IID IID_Recordset21 = ado_detail::Guid(0x0555);
inline constexpr IID IID__Recordset = ado_detail::Guid(0x0556);
inline constexpr IID IID__Collection = ado_detail::Guid(0x0512);
inline constexpr IID IID_Fields15 = ado_detail::Guid(0x0506);
inline constexpr IID IID_Fields20 = ado_detail::Guid(0x054D);
inline constexpr IID IID_Fields = ado_detail::Guid(0x0564);
inline constexpr IID IID_Field20 = ado_detail::Guid(0x054C);
inline constexpr IID IID_Field = ado_detail::Guid(0x0569);
