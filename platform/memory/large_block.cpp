#include "memory/large_block.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace orvanta::memory {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t RoundUp(std::size_t value, std::size_t unit) { return (value + unit - 1) / unit * unit; }

}  // namespace

void* AllocateLarge(std::size_t bytes) {
    const std::size_t length = RoundUp(bytes, kHugePage);
    // One huge page more than needed, so that the block can start on a huge-page boundary.
    void* raw = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const auto first = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t start = RoundUp(first, kHugePage);
    if (start > first) munmap(raw, start - first);
    const std::uintptr_t end = first + length + kHugePage;
    if (end > start + length) munmap(reinterpret_cast<void*>(start + length), end - (start + length));
    madvise(reinterpret_cast<void*>(start), length, MADV_HUGEPAGE);  // a hint; without it, plain pages
    return reinterpret_cast<void*>(start);
}

void FreeLarge(void* memory, std::size_t bytes) noexcept {
    if (memory) munmap(memory, RoundUp(bytes, kHugePage));
}

}  // namespace orvanta::memory
