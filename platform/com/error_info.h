// Helpers for objects that report failures through the thread's error object.
#pragma once

#include <string_view>

#include <oleauto.h>

namespace orvanta::com {

// Replaces the calling thread's error object with one that carries `source` and `description`
// for the interface `iid`. Never fails: when memory runs out the slot is simply cleared.
void SetThreadErrorInfo(REFIID iid, std::u16string_view source, std::u16string_view description) noexcept;

}  // namespace orvanta::com
