#include <gtest/gtest.h>

#include "providers/connection_string.h"
#include "providers/provider.h"
#include "support/text.h"

namespace orvanta::providers {
namespace {

using testing::U8;

struct ParseCase {
    const char* label;
    std::u16string text;
    std::vector<std::pair<std::u16string, std::u16string>> expected;  // key -> value, in order
};

TEST(ConnectionString, ParsesAsThePlatformDoes) {
    const ParseCase cases[] = {
        {"empty", u"", {}},
        {"blank parts", u" ; ;; ", {}},
        {"plain pairs", u"Provider=SQLite;Data Source=/tmp/a.db", {{u"Provider", u"SQLite"}, {u"Data Source", u"/tmp/a.db"}}},
        {"blanks trimmed around keys and values", u"  Data Source  =  x y  ; ", {{u"Data Source", u"x y"}}},
        {"keys are case-insensitive, last wins", u"data source=a;DATA SOURCE=b", {{u"data source", u"b"}}},
        {"provider: first wins", u"Provider=SQLite;provider=Other", {{u"Provider", u"SQLite"}}},
        {"double quotes hold ; and blanks", u"Password=\" a;b \"", {{u"Password", u" a;b "}}},
        {"single quotes, doubled inside", u"Password='it''s'", {{u"Password", u"it's"}}},
        {"double quote inside single quotes", u"Password='say \"hi\"'", {{u"Password", u"say \"hi\""}}},
        {"braces hold ; and =", u"Driver={My Driver; v=2};X=1", {{u"Driver", u"My Driver; v=2"}, {u"X", u"1"}}},
        {"}} is a brace", u"Pwd={a}}b}", {{u"Pwd", u"a}b"}}},
        {"= inside an unquoted value", u"Extra=a=b", {{u"Extra", u"a=b"}}},
        {"empty value", u"User ID=;Password=", {{u"User ID", u""}, {u"Password", u""}}},
        {"blank after quoted value", u"A='x'  ;B=y", {{u"A", u"x"}, {u"B", u"y"}}},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.label);
        const ConnectionString parsed = ConnectionString::Parse(c.text);
        ASSERT_EQ(parsed.Entries().size(), c.expected.size());
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(U8(parsed.Entries()[i].key), U8(c.expected[i].first));
            EXPECT_EQ(U8(parsed.Entries()[i].value), U8(c.expected[i].second));
        }
    }
}

TEST(ConnectionString, RefusesGarbage) {
    const std::u16string garbage[] = {
        u"no equals sign", u"Data Source=x;garbage", u"=value", u"  =x", u"A='unterminated",
        u"A=\"unterminated", u"A={unterminated", u"A='x' y", u"A={x}y",
    };
    for (const std::u16string& text : garbage) {
        SCOPED_TRACE(U8(text));
        try {
            ConnectionString::Parse(text);
            ADD_FAILURE() << "parsed";
        } catch (const ProviderError& error) {
            EXPECT_EQ(error.Kind(), ErrorKind::InvalidArgument);
            EXPECT_NE(U8(error.Message()).find("malformed"), std::string::npos);
        }
    }
}

TEST(ConnectionString, ReadsTimeoutsAsWholeSeconds) {
    const ConnectionString parsed = ConnectionString::Parse(u"Connect Timeout=5;command timeout=0;Bad=x");
    EXPECT_EQ(parsed.Seconds(u"Connect Timeout", 15), 5);
    EXPECT_EQ(parsed.Seconds(u"Command Timeout", 30), 0);
    EXPECT_EQ(parsed.Seconds(u"Missing", 30), 30);
    EXPECT_THROW(parsed.Seconds(u"Bad", 1), ProviderError);
    EXPECT_EQ(ConnectionString::Parse(u"T=99999999999999").Seconds(u"T", 0), INT_MAX);
    EXPECT_THROW(ConnectionString::Parse(u"T=-1").Seconds(u"T", 0), ProviderError);
}

TEST(FindProvider, ChoosesByNameAndDefaultsToOdbc) {
    EXPECT_NE(FindProvider(ConnectionString::Parse(u"Provider=sqlite")), nullptr);
    EXPECT_NE(FindProvider(ConnectionString::Parse(u"Provider=SQLite")), nullptr);
    EXPECT_EQ(FindProvider(ConnectionString::Parse(u"Provider=NoSuchEngine")), nullptr);
    EXPECT_EQ(FindProvider(ConnectionString::Parse(u"Provider=SQLite.1")), FindProvider(ConnectionString::Parse(u"Provider=SQLite")))
        << "a version after the name is ignored";
    EXPECT_EQ(FindProvider(ConnectionString::Parse(u"Provider=SQLite.x")), nullptr);
    const ProviderEntry* fallback = FindProvider(ConnectionString::Parse(u"DSN=x"));
    const ProviderEntry* odbc = FindProvider(ConnectionString::Parse(u"Provider=MSDASQL"));
    EXPECT_EQ(fallback, odbc) << "no Provider key means the ODBC provider";
}

}  // namespace
}  // namespace orvanta::providers
