// BSTR: a byte count in the four bytes before the text, and a null character after it.
#include <cstdlib>
#include <cstring>
#include <limits>

#include <oleauto.h>

namespace {

constexpr std::size_t kPrefix = sizeof(std::uint32_t);
constexpr UINT kMaxBytes = std::numeric_limits<std::uint32_t>::max() - kPrefix - 2 * sizeof(OLECHAR);

std::uint32_t* Header(BSTR text) { return reinterpret_cast<std::uint32_t*>(text) - 1; }

// Allocates room for `bytes` bytes of text plus a wide null; the text itself is left unwritten.
BSTR Allocate(UINT bytes) {
    if (bytes > kMaxBytes) return nullptr;
    // One extra byte so that an odd byte length still ends in a whole null character.
    void* block = std::malloc(kPrefix + bytes + sizeof(OLECHAR) + 1);
    if (!block) return nullptr;
    auto* header = static_cast<std::uint32_t*>(block);
    *header = bytes;
    auto* text = reinterpret_cast<char*>(header + 1);
    std::memset(text + bytes, 0, sizeof(OLECHAR) + 1);
    return reinterpret_cast<BSTR>(text);
}

std::size_t Length(const OLECHAR* text) {
    std::size_t length = 0;
    while (text[length] != 0) ++length;
    return length;
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    if (length > kMaxBytes / sizeof(OLECHAR)) return nullptr;
    BSTR result = Allocate(length * static_cast<UINT>(sizeof(OLECHAR)));
    if (result && text) std::memcpy(result, text, length * sizeof(OLECHAR));
    return result;
}

BSTR SysAllocString(const OLECHAR* text) {
    if (!text) return nullptr;
    const std::size_t length = Length(text);
    if (length > kMaxBytes / sizeof(OLECHAR)) return nullptr;
    return SysAllocStringLen(text, static_cast<UINT>(length));
}

BSTR SysAllocStringByteLen(LPCSTR bytes, UINT length) {
    BSTR result = Allocate(length);
    if (result && bytes) std::memcpy(result, bytes, length);
    return result;
}

INT SysReAllocStringLen(BSTR* target, const OLECHAR* text, UINT length) {
    if (!target) return FALSE;
    BSTR replacement = SysAllocStringLen(text, length);
    if (!replacement) return FALSE;
    SysFreeString(*target);
    *target = replacement;
    return TRUE;
}

INT SysReAllocString(BSTR* target, const OLECHAR* text) {
    if (!target) return FALSE;
    const std::size_t length = text ? Length(text) : 0;
    if (length > kMaxBytes / sizeof(OLECHAR)) return FALSE;
    return SysReAllocStringLen(target, text, static_cast<UINT>(length));
}

void SysFreeString(BSTR text) {
    if (text) std::free(Header(text));
}

UINT SysStringByteLen(BSTR text) { return text ? *Header(text) : 0; }

UINT SysStringLen(BSTR text) { return SysStringByteLen(text) / sizeof(OLECHAR); }
