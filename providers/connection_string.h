// Connection strings: `key=value` pairs separated by `;`.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta::providers {

// Keys are case-insensitive and trimmed. A value may be quoted with " or ' (the quote doubled
// inside) or put in braces ({...}, with }} for }) to hold `;`, `=` or blanks; an unquoted value is
// trimmed. For a repeated key the last one wins, except Provider, where the first wins.
class ConnectionString {
public:
    struct Entry {
        std::u16string key;
        std::u16string value;
    };

    // Throws ProviderError (InvalidArgument) for text that is not a connection string.
    static ConnectionString Parse(std::u16string_view text);

    const std::u16string* Find(std::u16string_view key) const;
    // The first of `keys` that is present.
    const std::u16string* FindAny(std::initializer_list<std::u16string_view> keys) const;
    // A whole number of seconds, or `fallback` when the key is absent.
    int Seconds(std::u16string_view key, int fallback) const;

    // Adds or replaces a key, as a later repeat in the text would.
    void Set(std::u16string_view key, std::u16string_view value);
    void Remove(std::u16string_view key);

    const std::vector<Entry>& Entries() const { return m_entries; }

private:
    std::vector<Entry> m_entries;
};

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace orvanta::providers
