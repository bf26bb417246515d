// Memory for the large buffers of a query result: whole pages, asked for as huge pages where the
// system gives them on request, since first touching fresh memory costs more than filling it.
#pragma once

#include <cstddef>

namespace orvanta::memory {

// Throws std::bad_alloc when the memory cannot be had.
void* AllocateLarge(std::size_t bytes);
// `bytes` as given to AllocateLarge.
void FreeLarge(void* memory, std::size_t bytes) noexcept;

}  // namespace orvanta::memory
