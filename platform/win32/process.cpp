// Threads, the last-error value and the process heap.
#include <unistd.h>
#include <sys/syscall.h>

#include <cstdlib>

#include <windows.h>

namespace {
thread_local DWORD t_lastError = 0;
// The process heap is the C heap; its handle only has to be recognisable.
int g_processHeap;
}  // namespace

DWORD GetLastError() { return t_lastError; }

void SetLastError(DWORD error) { t_lastError = error; }

DWORD GetCurrentThreadId() { return static_cast<DWORD>(syscall(SYS_gettid)); }

HANDLE GetProcessHeap() { return &g_processHeap; }

LPVOID HeapAlloc(HANDLE heap, DWORD flags, std::size_t bytes) {
    if (heap != &g_processHeap) return nullptr;
    if (bytes == 0) bytes = 1;
    return (flags & HEAP_ZERO_MEMORY) ? std::calloc(1, bytes) : std::malloc(bytes);
}

BOOL HeapFree(HANDLE heap, DWORD /*flags*/, LPVOID memory) {
    if (heap != &g_processHeap) return FALSE;
    std::free(memory);
    return TRUE;
}

HLOCAL LocalFree(HLOCAL memory) {
    std::free(memory);
    return nullptr;
}
