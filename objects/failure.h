// How a method of our objects fails: an HRESULT and the description of the thread's error object.
#pragma once

#include <string>
#include <string_view>

#include <objbase.h>

#include "ado/constants.h"

namespace orvanta::objects {

struct Failure {
    HRESULT code;
    std::u16string description;
};

[[noreturn]] void Fail(HRESULT code, std::u16string_view description);
// The object model's own errors, with its texts.
[[noreturn]] void Fail(ErrorValueEnum error);

// Command errors: the engine refused the statement.
inline constexpr HRESULT DB_E_ERRORSINCOMMAND = MakeHresult(0x80040E14);
inline constexpr HRESULT DB_E_NOCOMMAND = MakeHresult(0x80040E0C);
inline constexpr HRESULT DB_E_CANCELED = MakeHresult(0x80040E4E);

}  // namespace orvanta::objects
