#include <cstdio>
#include <cstring>

#include <windows.h>

void OutputDebugStringA(LPCSTR text) {
    if (!text) return;
    // One write per message, so that lines from several threads do not interleave.
    const std::size_t length = std::strlen(text);
    std::fprintf(stderr, "%.*s\n", static_cast<int>(length), text);
    std::fflush(stderr);
}
