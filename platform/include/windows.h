// The few Win32 types and calls that the library uses, for a platform that has none.
#pragma once

#include <cstddef>
#include <cstdint>

#include "winerror.h"
#include "wtypes.h"

inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_THREAD_ACP = 3;
inline constexpr UINT CP_UTF8 = 65001;

inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
inline constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
inline constexpr LCID LOCALE_INVARIANT = 0x007F;

inline constexpr WORD LANG_NEUTRAL = 0x00;
inline constexpr WORD SUBLANG_DEFAULT = 0x01;
inline constexpr LANGID MAKELANGID(WORD primary, WORD sub) { return static_cast<LANGID>((sub << 10) | primary); }

inline constexpr DWORD FORMAT_MESSAGE_ALLOCATE_BUFFER = 0x00000100;
inline constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
inline constexpr DWORD FORMAT_MESSAGE_FROM_STRING = 0x00000400;
inline constexpr DWORD FORMAT_MESSAGE_FROM_HMODULE = 0x00000800;
inline constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;

inline constexpr DWORD CT_CTYPE1 = 0x0001;
inline constexpr WORD C1_UPPER = 0x0001;
inline constexpr WORD C1_LOWER = 0x0002;
inline constexpr WORD C1_DIGIT = 0x0004;
inline constexpr WORD C1_SPACE = 0x0008;
inline constexpr WORD C1_PUNCT = 0x0010;
inline constexpr WORD C1_CNTRL = 0x0020;
inline constexpr WORD C1_BLANK = 0x0040;
inline constexpr WORD C1_XDIGIT = 0x0080;
inline constexpr WORD C1_ALPHA = 0x0100;
inline constexpr WORD C1_DEFINED = 0x0200;

inline constexpr DWORD HEAP_ZERO_MEMORY = 0x00000008;

DWORD GetLastError();
void SetLastError(DWORD error);
DWORD GetCurrentThreadId();

// Linux has no debugger channel: the text goes to standard error, one line per message.
void OutputDebugStringA(LPCSTR text);

HANDLE GetProcessHeap();
LPVOID HeapAlloc(HANDLE heap, DWORD flags, std::size_t bytes);
BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID memory);
HLOCAL LocalFree(HLOCAL memory);

DWORD FormatMessageW(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPWSTR buffer,
                     DWORD size, void* arguments);

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int bytes, LPWSTR out, int outSize);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR text, int chars, LPSTR out, int outSize,
                        LPCSTR defaultChar, BOOL* usedDefaultChar);
BOOL GetStringTypeW(DWORD infoType, LPCWSTR text, int chars, WORD* types);

struct CURRENCYFMTW;
int GetCurrencyFormatW(LCID locale, DWORD flags, LPCWSTR value, const CURRENCYFMTW* format, LPWSTR out,
                       int outSize);

#include "objbase.h"
#include "oleauto.h"
