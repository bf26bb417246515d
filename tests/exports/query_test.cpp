// The query text block, through the built library as a host loads it.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "exports/library.h"
#include "support/stderr_capture.h"
#include "support/temp_dir.h"
#include "support/text.h"

namespace orvanta {
namespace {

using testing::Library;
using testing::StderrCapture;
using testing::U16;
using testing::U8;

constexpr char16_t kSentinel = u'\x2603';
constexpr char kFailureLine[] = "xxxxxxxx ! fnDBExecuteQuery error xxxxx\n";

class QueryBlock : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_library.open(nullptr, U16("Provider=SQLite;Data Source=" + m_dir.File("q.db")).c_str()), 1);
    }

    struct Result {
        int count;
        std::u16string block;  // up to the terminating null; "<untouched>" when nothing was written
        std::string debugger;
    };
    Result Query(std::u16string_view query, std::size_t capacity = 4096) {
        std::vector<char16_t> buffer(capacity, kSentinel);
        StderrCapture capture;
        const int count = m_library.executeQuery(std::u16string(query).c_str(), buffer.data());
        Result result{count, {}, capture.Finish()};
        if (buffer[0] == kSentinel) {
            result.block = u"<untouched>";
        } else {
            std::size_t end = 0;
            while (end < buffer.size() && buffer[end] != 0) ++end;
            EXPECT_LT(end, buffer.size()) << "no terminating null";
            result.block.assign(buffer.data(), end);
            if (end + 1 < buffer.size()) {
                EXPECT_EQ(buffer[end + 1], kSentinel) << "written past the null";
            }
        }
        return result;
    }

    testing::TempDir m_dir;
    Library m_library;
};

TEST_F(QueryBlock, LaysOutRowsFieldsAndTheirSeparators) {
    struct Case {
        const char* label;
        std::u16string query;
        std::u16string block;
        int count;
    };
    const Case cases[] = {
        {"two records of three fields", u"SELECT 'A', 'B', 'C' UNION ALL SELECT 'D', 'E', 'F'",
         u"A,B,C\r\nD,E,F\r\n", 2},
        {"one field, no comma anywhere", u"SELECT 'x'", u"x\r\n", 1},
        {"commas become full-width", u"SELECT 'a,b,', 'c'", u"a\uFF0Cb\uFF0C,c\r\n", 1},
        {"CR LF becomes the marker", u"SELECT 'a' || char(13, 10) || 'b'", u"aKRAVENLIXb\r\n", 1},
        {"lone CR and LF stay", u"SELECT 'a' || char(13) || 'b' || char(10) || 'c'", u"a\rb\nc\r\n", 1},
        {"LF CR is no pair", u"SELECT char(10, 13)", u"\n\r\r\n", 1},
        {"the replacements' own texts pass unchanged", u"SELECT '\uFF0CKRAVENLIX'", u"\uFF0CKRAVENLIX\r\n", 1},
        {"empty fields keep their places", u"SELECT '', NULL, 'x'", u",,x\r\n", 1},
        {"an empty last field leaves its separator", u"SELECT 'x', ''", u"x,\r\n", 1},
        {"quotes are not special", u"SELECT '\"q\"', ''''", u"\"q\",'\r\n", 1},
        {"numbers and dates in their text forms", u"SELECT 1, 2.5, 5000000000, CAST('2024-02-29 13:45:00' AS TEXT)",
         u"1,2.5,5000000000,2024-02-29 13:45:00\r\n", 1},
        {"non-BMP text", u"SELECT '\U0001F600'", u"\U0001F600\r\n", 1},
        {"leading white space", u" \r\n\tSELECT 'ok'", u"ok\r\n", 1},
        {"no records", u"SELECT 1 WHERE 0", u"", 0},
        {"a statement without rows", u"CREATE TABLE t(a)", u"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const Result result = Query(c.query);
        EXPECT_EQ(U8(result.block), U8(c.block));
        EXPECT_EQ(result.count, c.count);
        EXPECT_EQ(result.debugger, "");
    }
}

TEST_F(QueryBlock, AFailureLeavesTheBufferAloneAndTheNextCallWorks) {
    const Result rejected = Query(u"SELECT * FROM missing");
    EXPECT_EQ(rejected.count, 0);
    EXPECT_EQ(U8(rejected.block), "<untouched>");
    EXPECT_EQ(rejected.debugger, kFailureLine);

    const Result next = Query(u"SELECT 'fine'");
    EXPECT_EQ(U8(next.block), "fine\r\n");
    EXPECT_EQ(next.debugger, "");

    std::vector<char16_t> buffer(8, kSentinel);
    StderrCapture capture;
    EXPECT_EQ(m_library.executeQuery(nullptr, buffer.data()), 0);
    EXPECT_EQ(m_library.executeQuery(u"SELECT 1", nullptr), 0);
    EXPECT_EQ(capture.Finish(), std::string(kFailureLine) + kFailureLine);
    EXPECT_EQ(buffer[0], kSentinel);
}

TEST_F(QueryBlock, QueriesFailCleanlyWithoutAConnection) {
    m_library.close();
    const Result closed = Query(u"SELECT 1");
    EXPECT_EQ(closed.count, 0);
    EXPECT_EQ(U8(closed.block), "<untouched>");
    EXPECT_EQ(closed.debugger, kFailureLine);
}

// A large result, checked against a checksum computed here from how the rows were made.
TEST_F(QueryBlock, ReturnsAMillionRowsIntact) {
    constexpr int kRows = 1000000;
    ASSERT_EQ(m_library.execute(u"CREATE TABLE big(id INTEGER, half REAL, name TEXT)"), -1);
    ASSERT_EQ(m_library.execute(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000) "
                                u"INSERT INTO big SELECT i, i / 2.0, 'row ' || i || CASE WHEN i % 3 = 0 THEN ',x' ELSE '' END "
                                u"FROM n"),
              kRows);

    std::uint64_t expected = 1469598103934665603ULL;
    std::size_t length = 0;
    const auto hash = [&](std::u16string_view text) {
        for (char16_t c : text) expected = (expected ^ c) * 1099511628211ULL;
        length += text.size();
    };
    for (int i = 1; i <= kRows; ++i) {
        const std::string half = i % 2 ? std::to_string(i / 2) + ".5" : std::to_string(i / 2) + ".";
        hash(U16(std::to_string(i) + "," + half + ",row " + std::to_string(i)));
        hash(i % 3 == 0 ? u"\uFF0Cx\r\n" : u"\r\n");
    }

    std::vector<char16_t> buffer(length + 1, kSentinel);
    ASSERT_EQ(m_library.executeQuery(u"SELECT id, half, name FROM big ORDER BY id", buffer.data()), kRows);
    std::uint64_t actual = 1469598103934665603ULL;
    for (std::size_t i = 0; i < length; ++i) actual = (actual ^ buffer[i]) * 1099511628211ULL;
    EXPECT_EQ(buffer[length], 0);
    EXPECT_EQ(actual, expected);
}

}  // namespace
}  // namespace orvanta
