#include "providers/postgresql/parameters.h"

#include <algorithm>
#include <memory>

#include <libpq-fe.h>

#include "providers/error.h"
#include "unicode/utf.h"

namespace orvanta::providers::postgresql {
namespace {

// Keys that the object layer reads (it passes the timeouts as session options).
constexpr std::u16string_view kIgnoredKeys[] = {u"Provider", u"Connect Timeout", u"Command Timeout",
                                                 u"Persist Security Info"};

struct Alias {
    std::u16string_view key;
    std::string_view keyword;
};
constexpr Alias kAliases[] = {
    {u"Data Source", "host"}, {u"Server", "host"},       {u"Host", "host"},          {u"Address", "host"},
    {u"Port", "port"},        {u"Initial Catalog", "dbname"}, {u"Database", "dbname"}, {u"User ID", "user"},
    {u"UID", "user"},         {u"User", "user"},         {u"Password", "password"}, {u"PWD", "password"},
};

// Dead peers are noticed within about a minute even while a statement runs without a timeout;
// a connection string can set other values.
constexpr std::pair<std::string_view, std::string_view> kDefaults[] = {
    {"keepalives", "1"}, {"keepalives_idle", "30"}, {"keepalives_interval", "10"}, {"keepalives_count", "3"},
    {"fallback_application_name", "orvanta"},
};

bool IsAllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string ToUtf8(const std::u16string& key, std::u16string_view value) {
    std::string utf8;
    if (!unicode::AppendUtf8(value, utf8) || utf8.find('\0') != std::string::npos) {
        throw ProviderError(ErrorKind::InvalidArgument,
                            u"The value of '" + key + u"' holds a character that a PostgreSQL connection cannot take.");
    }
    return utf8;
}

// libpq's keyword for a key written in any case, or empty.
std::string LibpqKeyword(std::u16string_view key, const PQconninfoOption* options) {
    std::string lower;
    for (char16_t c : key) {
        if (c > 0x7F) return {};
        lower += static_cast<char>(c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c);
    }
    for (const PQconninfoOption* option = options; option && option->keyword; ++option) {
        if (lower == option->keyword) return lower;
    }
    return {};
}

}  // namespace

void ConnectParameters::Set(std::string_view keyword, std::string value) {
    for (auto& [key, existing] : m_entries) {
        if (key == keyword) {
            existing = std::move(value);
            return;
        }
    }
    m_entries.emplace_back(std::string(keyword), std::move(value));
}

const std::string* ConnectParameters::Find(std::string_view keyword) const {
    for (const auto& [key, value] : m_entries) {
        if (key == keyword) return &value;
    }
    return nullptr;
}

std::vector<const char*> ConnectParameters::Keywords() const {
    std::vector<const char*> keywords;
    for (const auto& entry : m_entries) keywords.push_back(entry.first.c_str());
    keywords.push_back(nullptr);
    return keywords;
}

std::vector<const char*> ConnectParameters::Values() const {
    std::vector<const char*> values;
    for (const auto& entry : m_entries) values.push_back(entry.second.c_str());
    values.push_back(nullptr);
    return values;
}

std::u16string ConnectParameters::Hide(std::u16string message) const {
    const std::string* password = Find("password");
    if (!password || password->empty()) return message;
    std::u16string secret;
    unicode::AppendUtf16(*password, secret);
    for (std::size_t at = message.find(secret); at != std::u16string::npos; at = message.find(secret, at + 3)) {
        message.replace(at, secret.size(), u"***");
    }
    return message;
}

HostAndPort SplitHostAndPort(std::string_view value) {
    if (value.starts_with('[')) {
        const std::size_t close = value.find(']');
        if (close != std::string_view::npos) {
            const std::string_view rest = value.substr(close + 1);
            if (rest.empty()) return {std::string(value.substr(1, close - 1)), {}};
            if ((rest.front() == ':' || rest.front() == ',') && IsAllDigits(rest.substr(1))) {
                return {std::string(value.substr(1, close - 1)), std::string(rest.substr(1))};
            }
        }
        return {std::string(value), {}};
    }
    if (value.starts_with('/') || value.starts_with('@')) return {std::string(value), {}};  // socket folder
    const std::size_t comma = value.rfind(',');
    if (comma != std::string_view::npos && IsAllDigits(value.substr(comma + 1))) {
        return {std::string(value.substr(0, comma)), std::string(value.substr(comma + 1))};
    }
    const std::size_t colon = value.find(':');
    if (colon != std::string_view::npos && colon == value.rfind(':') && IsAllDigits(value.substr(colon + 1))) {
        return {std::string(value.substr(0, colon)), std::string(value.substr(colon + 1))};
    }
    return {std::string(value), {}};
}

ConnectParameters MapConnectionString(const ConnectionString& properties) {
    ConnectParameters parameters;
    for (const auto& [keyword, value] : kDefaults) parameters.Set(keyword, std::string(value));

    const std::unique_ptr<PQconninfoOption, void (*)(PQconninfoOption*)> known(PQconndefaults(), PQconninfoFree);
    if (!known) throw std::bad_alloc();

    // In the order written, so that of two keys for one keyword the later wins.
    for (const ConnectionString::Entry& entry : properties.Entries()) {
        const auto same = [&](std::u16string_view key) { return EqualsIgnoringCase(entry.key, key); };
        if (std::any_of(std::begin(kIgnoredKeys), std::end(kIgnoredKeys), same)) continue;
        const std::string value = ToUtf8(entry.key, entry.value);

        const auto alias = std::find_if(std::begin(kAliases), std::end(kAliases),
                                        [&](const Alias& candidate) { return same(candidate.key); });
        if (alias != std::end(kAliases) && alias->keyword == "host") {
            HostAndPort split = SplitHostAndPort(value);
            parameters.Set("host", std::move(split.host));
            if (!split.port.empty()) parameters.Set("port", std::move(split.port));
        } else if (alias != std::end(kAliases)) {
            parameters.Set(alias->keyword, value);
        } else if (const std::string keyword = LibpqKeyword(entry.key, known.get()); !keyword.empty()) {
            parameters.Set(keyword, value);
        } else {
            throw ProviderError(ErrorKind::InvalidArgument,
                                u"The PostgreSQL provider does not know the connection string key '" + entry.key + u"'.");
        }
    }

    // Every text is read as UTF-8, whatever the server's default.
    parameters.Set("client_encoding", "UTF8");
    return parameters;
}

}  // namespace orvanta::providers::postgresql
