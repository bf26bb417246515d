// The PostgreSQL provider's readers of value texts and of connection strings; no server needed.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "providers/postgresql/errors.h"
#include "providers/postgresql/parameters.h"
#include "providers/postgresql/values.h"
#include "support/text.h"

namespace orvanta::providers::postgresql {
namespace {

using orvanta::testing::U16;
using orvanta::testing::U8;

TEST(PostgresValues, ReadsMoneyInAnyLocaleForm) {
    struct Case {
        const char* text;
        int fractionDigits;
        std::optional<std::int64_t> scaled;
    };
    const Case cases[] = {
        {"$1,234.56", 2, 12345600},
        {"-$1,234.56", 2, -12345600},
        {"($1,234.56)", 2, -12345600},
        {"-1.234.567,89 \xE2\x82\xAC", 2, -12345678900},  // de_DE
        {"\xEF\xBF\xA5" "1,234", 0, 12340000},             // ja_JP, no fraction
        {"1,234.567 KD", 3, 12345670},
        {"\xE2\x88\x92" "5.00", 2, -50000},  // U+2212 as the sign
        {"$0.12345", 5, 1235},                // rounded half away from zero
        {"-$922,337,203,685,477.58", 2, -9223372036854775800},
        {"$92,233,720,368,547,758.07", 2, std::nullopt},  // beyond the currency range
        {"no digits", 2, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseMoney(c.text, c.fractionDigits), c.scaled);
    }
    EXPECT_EQ(MoneyFractionDigits("$1.00"), 2);
    EXPECT_EQ(MoneyFractionDigits("1,00 \xE2\x82\xAC"), 2);
    EXPECT_EQ(MoneyFractionDigits("\xEF\xBF\xA5" "1"), 0);
    EXPECT_EQ(MoneyFractionDigits("?"), std::nullopt);
}

// OLE Automation dates: days since 1899-12-30; before it the fraction still counts forward. A date
// outside the years 100 to 9999 stays text.
TEST(PostgresValues, ReadsIsoDatesAsOleDates) {
    struct Case {
        std::optional<double> (*parse)(std::string_view);
        const char* text;
        std::optional<double> days;
    };
    const Case cases[] = {
        {ParseDate, "1899-12-30", 0.0},
        {ParseDate, "2000-01-01", 36526.0},
        {ParseDate, "0100-01-01", -657434.0},
        {ParseDate, "0099-12-31", std::nullopt},
        {ParseDate, "0001-01-01", std::nullopt},
        {ParseDate, "0044-03-15 BC", std::nullopt},
        {ParseDate, "9999-12-31", 2958465.0},
        {ParseDate, "12345-01-01", std::nullopt},
        {ParseDate, "2023-02-29", std::nullopt},
        {ParseDate, "2024-02-29", 45351.0},
        {ParseDate, "infinity", std::nullopt},
        {ParseDate, "17.11.2023", std::nullopt},  // another DateStyle
        {ParseDate, "2023-11-17x", std::nullopt},
        {ParseTimestamp, "2023-11-17 12:00:00", 45247.5},
        {ParseTimestamp, "2023-11-17 18:00:00.25", 45247.75 + 0.25 / 86400},
        {ParseTimestamp, "1899-12-29 06:00:00", -1.25},
        {ParseTimestamp, "2023-11-17 12:00:00+05:30", 45247.5},
        {ParseTimestamp, "1850-01-01 00:00:00+00:53:28", -18260.0},
        {ParseTimestamp, "0044-03-15 12:00:00+00:53:28 BC", std::nullopt},
        {ParseTimestamp, "2023-11-17 12:00:00.1234567", std::nullopt},
        {ParseTimestamp, "2023-11-17", std::nullopt},
        {ParseTime, "06:00:00", 0.25},
        {ParseTime, "23:59:59.999999", (86400 - 0.000001) / 86400},
        {ParseTime, "24:00:00", 1.0},
        {ParseTime, "24:00:01", std::nullopt},
        {ParseTime, "12:60:00", std::nullopt},
        {ParseTime, "12:00:00+02", std::nullopt},  // timetz stays text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<double> days = c.parse(c.text);
        ASSERT_EQ(days.has_value(), c.days.has_value());
        if (days) {
            EXPECT_NEAR(*days, *c.days, 1e-9);
        }
    }
}

TEST(PostgresValues, DecodesByteaInBothOutputForms) {
    struct Case {
        const char* text;
        std::optional<std::vector<unsigned char>> bytes;
    };
    const Case cases[] = {
        {"\\x", std::vector<unsigned char>{}},
        {"\\x00fF41", std::vector<unsigned char>{0x00, 0xFF, 0x41}},
        {"\\x0", std::nullopt},
        {"\\xzz", std::nullopt},
        {"a\\\\b\\000\\377", std::vector<unsigned char>{'a', '\\', 'b', 0x00, 0xFF}},
        {"bad\\9", std::nullopt},
        {"cut\\01", std::nullopt},
    };
    std::vector<std::byte> decoded;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_EQ(DecodeBytea(c.text, decoded), c.bytes.has_value());
        if (!c.bytes) continue;
        std::vector<unsigned char> plain;
        for (std::byte b : decoded) plain.push_back(static_cast<unsigned char>(b));
        EXPECT_EQ(plain, *c.bytes);
    }
}

TEST(PostgresErrors, KindFollowsTheSqlStateClass) {
    struct Case {
        const char* sqlState;
        ErrorKind kind;
    };
    const Case cases[] = {
        {"42P01", ErrorKind::CommandRejected}, {"22012", ErrorKind::CommandRejected},
        {"23505", ErrorKind::CommandRejected}, {"40001", ErrorKind::CommandRejected},
        {"08006", ErrorKind::ConnectionFailed}, {"28P01", ErrorKind::ConnectionFailed},
        {"57P01", ErrorKind::ConnectionFailed}, {"57014", ErrorKind::Timeout},
        {"55P03", ErrorKind::Timeout},          {"53100", ErrorKind::General},
        {"XX000", ErrorKind::General},          {"", ErrorKind::General},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sqlState);
        EXPECT_EQ(KindOfSqlState(c.sqlState), c.kind);
    }
    EXPECT_EQ(Tidy("server closed the connection unexpectedly\n\tThis probably means\n"),
              "server closed the connection unexpectedly This probably means");
}

TEST(PostgresParameters, SplitsHostAndPort) {
    struct Case {
        const char* value;
        const char* host;
        const char* port;
    };
    const Case cases[] = {
        {"db.example", "db.example", ""},
        {"db.example,5433", "db.example", "5433"},
        {"db.example:5433", "db.example", "5433"},
        {"[::1]:5433", "::1", "5433"},
        {"[::1]", "::1", ""},
        {"::1", "::1", ""},
        {"fe80::1,5433", "fe80::1", "5433"},
        {"/var/run/postgresql", "/var/run/postgresql", ""},
        {"a,b", "a,b", ""},  // two hosts, for libpq to try in turn
        {"host:port", "host:port", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const HostAndPort split = SplitHostAndPort(c.value);
        EXPECT_EQ(split.host, c.host);
        EXPECT_EQ(split.port, c.port);
    }
}

TEST(PostgresParameters, MapsConnectionStringKeysOntoLibpqKeywords) {
    const ConnectParameters parameters = MapConnectionString(ConnectionString::Parse(
        u"Provider=PostgreSQL;data source=db:6543;INITIAL CATALOG=sales;uid=ann;pwd=s3cret;SSLMode=require;"
        u"Keepalives_Idle=5;Connect Timeout=3;Command Timeout=9;Persist Security Info=False;"
        u"client_encoding=LATIN1"));
    struct Case {
        const char* keyword;
        const char* value;  // null: not passed
    };
    const Case cases[] = {
        {"host", "db"},           {"port", "6543"},          {"dbname", "sales"},
        {"user", "ann"},          {"password", "s3cret"},    {"sslmode", "require"},
        {"keepalives_idle", "5"}, {"keepalives", "1"},       {"client_encoding", "UTF8"},
        {"connect_timeout", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyword);
        const std::string* value = parameters.Find(c.keyword);
        ASSERT_EQ(value != nullptr, c.value != nullptr);
        if (value) {
            EXPECT_EQ(*value, c.value);
        }
    }
    EXPECT_EQ(U8(parameters.Hide(u"auth for s3cret failed: s3cret")), "auth for *** failed: ***");

    // Of two keys for one keyword, the later wins.
    const ConnectParameters later = MapConnectionString(ConnectionString::Parse(u"Port=1;Server=h,2;Host=k"));
    EXPECT_EQ(*later.Find("host"), "k");
    EXPECT_EQ(*later.Find("port"), "2");

    for (const char* text : {"Colour=blue", "Server=a;Mode=Read"}) {
        SCOPED_TRACE(text);
        try {
            MapConnectionString(ConnectionString::Parse(U16(text)));
            ADD_FAILURE() << "no error";
        } catch (const ProviderError& error) {
            EXPECT_EQ(error.Kind(), ErrorKind::InvalidArgument);
        }
    }
}

}  // namespace
}  // namespace orvanta::providers::postgresql
