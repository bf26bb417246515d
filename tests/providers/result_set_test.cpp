#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "providers/result_set.h"

namespace orvanta::providers {
namespace {

TEST(ResultSet, ReadsBackEveryKindInAnyOrder) {
    ResultSet result;
    result.Columns().resize(12);
    const std::u16string wide = u"w\u00e9\U0001F600";
    const DecimalValue decimal{0xFFFFFFFFFFFFFFFFull, 0xFFFFFFFFu, 28, true};
    result.BeginRow();
    result.AddNull();
    result.AddBoolean(true);
    result.AddInt16(-32768);
    result.AddInteger(std::numeric_limits<std::int32_t>::max());
    result.AddInteger(std::int64_t{1} << 40);
    result.AddUInt8(255);
    result.AddUInt32(4294967295u);
    result.AddDouble(-0.0);
    result.AddDecimal(decimal);
    result.AddUtf8("text, with comma");
    result.AddUtf16(wide);
    result.AddBytes("\0\1\2", 3);
    result.EndRow();

    std::vector<std::uint32_t> offsets;
    result.LocateCells(0, offsets);
    ASSERT_EQ(offsets.size(), 12u);
    EXPECT_EQ(result.Cell(0, offsets[11]).length, 3u);  // out of order first
    EXPECT_EQ(result.Cell(0, offsets[0]).kind, CellKind::Null);
    EXPECT_EQ(result.Cell(0, offsets[1]).integer, 1);
    EXPECT_EQ(result.Cell(0, offsets[2]).integer, -32768);
    EXPECT_EQ(result.Cell(0, offsets[3]).kind, CellKind::Int32);
    EXPECT_EQ(result.Cell(0, offsets[4]).kind, CellKind::Int64);
    EXPECT_EQ(result.Cell(0, offsets[4]).integer, std::int64_t{1} << 40);
    EXPECT_EQ(result.Cell(0, offsets[5]).integer, 255);
    EXPECT_EQ(result.Cell(0, offsets[6]).integer, 4294967295);
    EXPECT_TRUE(std::signbit(result.Cell(0, offsets[7]).real));
    const CellView d = result.Cell(0, offsets[8]);
    EXPECT_EQ(d.decimal.low, decimal.low);
    EXPECT_EQ(d.decimal.high, decimal.high);
    EXPECT_EQ(d.decimal.scale, 28);
    EXPECT_TRUE(d.decimal.negative);
    EXPECT_EQ(result.Cell(0, offsets[9]).Utf8Text(), "text, with comma");
    const CellView w = result.Cell(0, offsets[10]);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(w.data) % alignof(char16_t), 0u);
    EXPECT_EQ(w.Utf16Text(), wide);
}

// Rows grow past block boundaries; a row being written moves whole to the next block.
TEST(ResultSet, KeepsRowsIntactAcrossBlocks) {
    ResultSet result;
    result.Columns().resize(3);
    const std::string big(300000, 'x');  // larger than a block
    constexpr int kRows = 20000;
    for (int i = 0; i < kRows; ++i) {
        result.BeginRow();
        result.AddInteger(i);
        result.AddUtf16(i % 7 == 0 ? u"odd" : u"even!");
        if (i == 5000) {
            result.AddUtf8(big);
        } else {
            result.AddUtf8(std::to_string(i));
        }
        result.EndRow();
    }
    ASSERT_EQ(result.RowCount(), static_cast<std::size_t>(kRows));
    std::vector<std::uint32_t> offsets;
    for (int i = 0; i < kRows; ++i) {
        result.LocateCells(i, offsets);
        ASSERT_EQ(result.Cell(i, offsets[0]).integer, i);
        ASSERT_EQ(result.Cell(i, offsets[1]).Utf16Text(), i % 7 == 0 ? u"odd" : u"even!");
        ASSERT_EQ(result.Cell(i, offsets[2]).Utf8Text(), i == 5000 ? big : std::to_string(i));
    }
    result.Clear();
    EXPECT_EQ(result.RowCount(), 0u);
}

}  // namespace
}  // namespace orvanta::providers
