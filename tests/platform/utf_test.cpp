#include <gtest/gtest.h>

#include "unicode/utf.h"

namespace orvanta::unicode {
namespace {

TEST(Utf, RoundTripsEveryPlane) {
    const std::u16string samples[] = {u"", u"plain", u"caf\u00e9", u"\u20ac\uffee", u"\U0001F600 and \U0010FFFF"};
    for (const std::u16string& text : samples) {
        std::string utf8;
        ASSERT_TRUE(AppendUtf8(text, utf8));
        std::u16string back;
        AppendUtf16(utf8, back);
        EXPECT_EQ(back, text);
        EXPECT_EQ(Utf16Length(utf8), text.size());
    }
    std::string emoji;
    AppendUtf8(u"\U0001F600", emoji);
    EXPECT_EQ(emoji, "\xF0\x9F\x98\x80");
}

TEST(Utf, RefusesLoneSurrogates) {
    const std::u16string lone[] = {std::u16string(1, u'\xD800'), std::u16string(1, u'\xDC00'),
                                   std::u16string(u"a") + char16_t(0xD83D) + u"b",
                                   std::u16string(1, char16_t(0xDE00)) + char16_t(0xD83D)};
    for (const std::u16string& text : lone) {
        std::string utf8;
        EXPECT_FALSE(AppendUtf8(text, utf8));
        EXPECT_FALSE(IsWellFormed(text));
    }
    EXPECT_TRUE(IsWellFormed(u"\U0001F600"));
}

TEST(Utf, DecodesMalformedUtf8AsReplacementCharacters) {
    struct Case {
        const char* label;
        std::string utf8;
        std::u16string expected;
    };
    const Case cases[] = {
        {"stray continuation", "a\x80z", u"a\uFFFDz"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"truncated at end", "ok\xE2\x82", u"ok\uFFFD\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::u16string out;
        AppendUtf16(c.utf8, out);
        EXPECT_EQ(out, c.expected);
        EXPECT_EQ(Utf16Length(c.utf8), c.expected.size());
    }
}

}  // namespace
}  // namespace orvanta::unicode
