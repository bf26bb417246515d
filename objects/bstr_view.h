#pragma once

#include <string_view>

#include <oleauto.h>

namespace orvanta::objects {

// A BSTR's text, embedded nulls included; a null BSTR is the empty text.
inline std::u16string_view View(BSTR text) { return {text ? text : u"", SysStringLen(text)}; }

}  // namespace orvanta::objects
