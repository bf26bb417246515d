// GetCurrencyFormatW: a number in the currency form of a locale. The user's default locale is the
// one the process environment selects for money (LC_ALL, LC_MONETARY, LANG), as on any POSIX system.
#include <locale.h>
#include <monetary.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include "unicode/utf.h"

namespace {

// The environment's choice, looked up the way setlocale(LC_MONETARY, "") would.
std::string MonetaryLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_MONETARY", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    return "C";
}

// Locales are loaded once per name and kept, so that a locale handed out stays valid while the
// environment changes; a name that cannot be loaded falls back to "C".
class MonetaryLocales {
public:
    ~MonetaryLocales() {
        for (const auto& [name, locale] : m_loaded) freelocale(locale);
    }

    locale_t Get() {
        const std::string name = MonetaryLocaleName();
        std::lock_guard lock(m_mutex);
        for (const auto& [loadedName, locale] : m_loaded) {
            if (loadedName == name) return locale;
        }
        locale_t loaded = newlocale(LC_MONETARY_MASK | LC_NUMERIC_MASK | LC_CTYPE_MASK, name.c_str(), nullptr);
        if (!loaded) loaded = newlocale(LC_ALL_MASK, "C", nullptr);
        m_loaded.emplace_back(name, loaded);
        return loaded;
    }

private:
    std::mutex m_mutex;
    std::vector<std::pair<std::string, locale_t>> m_loaded;
};

// Accepts what the platform accepts: an optional '-', digits, and an optional '.' with digits.
bool ParseValue(LPCWSTR text, double& value) {
    std::string narrow;
    bool point = false;
    bool digits = false;
    for (std::size_t i = 0; text[i] != 0; ++i) {
        const WCHAR c = text[i];
        if (c == u'-' && i == 0) {
        } else if (c == u'.' && !point) {
            point = true;
        } else if (c >= u'0' && c <= u'9') {
            digits = true;
        } else {
            return false;
        }
        narrow.push_back(static_cast<char>(c));
    }
    if (!digits) return false;
    const auto [end, error] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    return error == std::errc() && end == narrow.data() + narrow.size();
}

}  // namespace

int GetCurrencyFormatW(LCID /*locale*/, DWORD flags, LPCWSTR value, const CURRENCYFMTW* format, LPWSTR out,
                       int outSize) {
    double number = 0;
    if (flags != 0 || format || !value || outSize < 0 || (outSize > 0 && !out) || !ParseValue(value, number)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    static MonetaryLocales locales;
    char narrow[512];
    const ssize_t written = strfmon_l(narrow, sizeof narrow, locales.Get(), "%n", number);
    if (written < 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::u16string text;
    orvanta::unicode::AppendUtf16(std::string_view(narrow, static_cast<std::size_t>(written)), text);
    const auto needed = static_cast<int>(text.size() + 1);  // with the terminating null
    if (outSize == 0) return needed;
    if (outSize < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(out, text.c_str(), static_cast<std::size_t>(needed) * sizeof(WCHAR));
    return needed;
}
