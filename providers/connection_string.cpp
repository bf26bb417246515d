#include "providers/connection_string.h"

#include <limits>

#include "providers/error.h"

namespace orvanta::providers {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }

[[noreturn]] void Malformed(std::u16string_view why) {
    throw ProviderError(ErrorKind::InvalidArgument, u"The connection string is malformed: " + std::u16string(why) + u".");
}

// Reads a value that starts with an opening quote or brace at `text[i]`; leaves `i` after the closing one.
std::u16string ReadEnclosed(std::u16string_view text, std::size_t& i) {
    const char16_t open = text[i];
    const char16_t close = open == u'{' ? u'}' : open;
    std::u16string value;
    for (++i; i < text.size(); ++i) {
        if (text[i] != close) {
            value.push_back(text[i]);
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == close) {  // doubled: one literal character
            value.push_back(close);
            ++i;
            continue;
        }
        ++i;
        return value;
    }
    Malformed(open == u'{' ? u"a value in braces has no closing brace" : u"a quoted value has no closing quote");
}

}  // namespace

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

ConnectionString ConnectionString::Parse(std::u16string_view text) {
    ConnectionString result;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = text.find_first_of(u";=", i);
        if (end == std::u16string_view::npos || text[end] == u';') {
            // A segment without `=` is only allowed when it is blank (";;" or a trailing ";").
            const std::size_t stop = end == std::u16string_view::npos ? text.size() : end;
            if (!Trim(text.substr(i, stop - i)).empty()) Malformed(u"a part has no '='");
            i = stop + 1;
            continue;
        }
        const std::u16string_view key = Trim(text.substr(i, end - i));
        if (key.empty()) Malformed(u"a value has no key");
        i = end + 1;
        while (i < text.size() && IsBlank(text[i])) ++i;

        std::u16string value;
        if (i < text.size() && (text[i] == u'"' || text[i] == u'\'' || text[i] == u'{')) {
            value = ReadEnclosed(text, i);
            while (i < text.size() && IsBlank(text[i])) ++i;
            if (i < text.size() && text[i] != u';') Malformed(u"text follows a quoted value");
        } else {
            const std::size_t stop = std::min(text.find(u';', i), text.size());
            value = Trim(text.substr(i, stop - i));
            i = stop;
        }
        ++i;  // the ';'

        if (EqualsIgnoringCase(key, u"Provider") && result.Find(key)) continue;
        result.Set(key, value);
    }
    return result;
}

const std::u16string* ConnectionString::Find(std::u16string_view key) const {
    for (const Entry& entry : m_entries) {
        if (EqualsIgnoringCase(entry.key, key)) return &entry.value;
    }
    return nullptr;
}

const std::u16string* ConnectionString::FindAny(std::initializer_list<std::u16string_view> keys) const {
    for (std::u16string_view key : keys) {
        if (const std::u16string* value = Find(key)) return value;
    }
    return nullptr;
}

int ConnectionString::Seconds(std::u16string_view key, int fallback) const {
    const std::u16string* value = Find(key);
    if (!value) return fallback;
    if (value->empty()) return fallback;
    long long seconds = 0;
    for (char16_t c : *value) {
        if (c < u'0' || c > u'9') {
            throw ProviderError(ErrorKind::InvalidArgument,
                                u"The value of '" + std::u16string(key) + u"' is not a whole number of seconds.");
        }
        seconds = std::min<long long>(seconds * 10 + (c - u'0'), std::numeric_limits<int>::max());
    }
    return static_cast<int>(seconds);
}

void ConnectionString::Set(std::u16string_view key, std::u16string_view value) {
    for (Entry& entry : m_entries) {
        if (EqualsIgnoringCase(entry.key, key)) {
            entry.value = value;
            return;
        }
    }
    m_entries.push_back({std::u16string(key), std::u16string(value)});
}

void ConnectionString::Remove(std::u16string_view key) {
    std::erase_if(m_entries, [&](const Entry& entry) { return EqualsIgnoringCase(entry.key, key); });
}

}  // namespace orvanta::providers
