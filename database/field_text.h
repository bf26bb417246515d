// The text of one field value: how every database value looks in a query's text block.
#pragma once

#include <string>

#include <windows.h>

// Replaces `text` with the text of `value` and returns true, or returns false, leaving `text`
// as it was, for a type that has no text. `value` may be changed (a currency is converted in place).
// A failing OLE Automation call is raised as a COM error.
bool VariantToFieldText(VARIANT& value, std::u16string& text, const std::u16string& dateFormat);
