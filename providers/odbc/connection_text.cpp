#include "providers/odbc/connection_text.h"

#include <string_view>

#include "providers/error.h"

namespace orvanta::providers::odbc {
namespace {

// SQLDriverConnectW takes the length as a 16-bit signed count.
constexpr std::size_t kLongestText = 32767;

constexpr std::u16string_view kObjectLayerKeys[] = {u"Provider", u"Connect Timeout", u"Command Timeout"};

struct Rename {
    std::u16string_view from;
    std::u16string_view to;
};
constexpr Rename kRenames[] = {{u"User ID", u"UID"}, {u"Password", u"PWD"}};

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

[[noreturn]] void Refuse(std::u16string_view why) {
    throw ProviderError(ErrorKind::InvalidArgument, u"The connection string cannot be passed to ODBC: " + std::u16string(why) + u".");
}

bool NeedsBraces(std::u16string_view key, std::u16string_view value) {
    // Driver names are braced by custom, and some carry blanks.
    if (EqualsIgnoringCase(key, u"Driver")) return !value.empty();
    if (value.empty()) return false;
    if (IsBlank(value.front()) || IsBlank(value.back())) return true;
    return value.find_first_of(u";{}") != std::u16string_view::npos;
}

void AppendValue(std::u16string_view key, std::u16string_view value, std::u16string& out) {
    if (!NeedsBraces(key, value)) {
        out += value;
        return;
    }
    out += u'{';
    for (char16_t c : value) {
        out += c;
        if (c == u'}') out += u'}';
    }
    out += u'}';
}

}  // namespace

ConnectionText MakeConnectionText(const ConnectionString& properties) {
    ConnectionText result;
    for (const ConnectionString::Entry& entry : properties.Entries()) {
        std::u16string_view key = entry.key;
        bool dropped = false;
        for (std::u16string_view skip : kObjectLayerKeys) dropped = dropped || EqualsIgnoringCase(key, skip);
        if (dropped) continue;
        for (const Rename& rename : kRenames) {
            if (!EqualsIgnoringCase(key, rename.from)) continue;
            if (properties.Find(rename.to)) dropped = true;  // the ODBC name, given too, wins
            key = rename.to;
        }
        if (dropped) continue;

        if (key.find_first_of(u"{}") != std::u16string_view::npos) Refuse(u"a key holds a brace");
        if (key.find(u'\0') != std::u16string_view::npos || entry.value.find(u'\0') != std::u16string::npos) {
            Refuse(u"it holds a NUL character");
        }
        if (EqualsIgnoringCase(key, u"PWD")) result.password = entry.value;

        if (!result.text.empty()) result.text += u';';
        result.text += key;
        result.text += u'=';
        AppendValue(key, entry.value, result.text);
    }
    if (result.text.size() > kLongestText) {
        Refuse(u"it is longer than 32767 characters");
    }
    return result;
}

}  // namespace orvanta::providers::odbc
