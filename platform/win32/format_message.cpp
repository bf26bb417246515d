// FormatMessageW over a small system message table: the common result codes, with the texts and
// line ends of the platform's own table. Every other code has no text.
#include <cstdlib>
#include <cstring>
#include <string_view>

#include <windows.h>

namespace {

struct SystemMessage {
    DWORD id;
    std::u16string_view text;
};

constexpr SystemMessage kSystemMessages[] = {
    {0x00000000, u"The operation completed successfully.\r\n"},
    {0x00000001, u"Incorrect function.\r\n"},
    {0x00000002, u"The system cannot find the file specified.\r\n"},
    {0x00000005, u"Access is denied.\r\n"},
    {0x00000006, u"The handle is invalid.\r\n"},
    {0x00000008, u"Not enough memory resources are available to process this command.\r\n"},
    {0x0000000E, u"Not enough memory resources are available to complete this operation.\r\n"},
    {0x00000057, u"The parameter is incorrect.\r\n"},
    {0x0000007A, u"The data area passed to a system call is too small.\r\n"},
    {0x80004001, u"Not implemented\r\n"},
    {0x80004002, u"No such interface supported\r\n"},
    {0x80004003, u"Invalid pointer\r\n"},
    {0x80004004, u"Operation aborted\r\n"},
    {0x80004005, u"Unspecified error\r\n"},
    {0x8000FFFF, u"Catastrophic failure\r\n"},
    {0x80070005, u"Access is denied.\r\n"},
    {0x80070006, u"The handle is invalid.\r\n"},
    {0x8007000E, u"Not enough memory resources are available to complete this operation.\r\n"},
    {0x80070057, u"The parameter is incorrect.\r\n"},
    {0x80040110, u"Class does not support aggregation (or class object is remote)\r\n"},
    {0x80040111, u"ClassFactory cannot supply requested class\r\n"},
    {0x80040154, u"Class not registered\r\n"},
    {0x80020005, u"Type mismatch.\r\n"},
    {0x80020008, u"Bad variable type.\r\n"},
    {0x8002000A, u"Out of present range.\r\n"},
    {0x8002000B, u"Invalid index.\r\n"},
};

const SystemMessage* Find(DWORD id) {
    for (const SystemMessage& message : kSystemMessages) {
        if (message.id == id) return &message;
    }
    return nullptr;
}

}  // namespace

DWORD FormatMessageW(DWORD flags, LPCVOID /*source*/, DWORD messageId, DWORD /*languageId*/, LPWSTR buffer,
                     DWORD size, void* /*arguments*/) {
    if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || !buffer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const SystemMessage* message = Find(messageId);
    if (!message) {
        SetLastError(ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
    const std::size_t length = message->text.size();
    LPWSTR target = buffer;
    if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
        // The caller frees it with LocalFree.
        target = static_cast<LPWSTR>(std::malloc((length + 1) * sizeof(WCHAR)));
        if (!target) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
        *reinterpret_cast<LPWSTR*>(buffer) = target;
    } else if (size < length + 1) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(target, message->text.data(), length * sizeof(WCHAR));
    target[length] = 0;
    return static_cast<DWORD>(length);
}
