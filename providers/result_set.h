// A query's rows held in one compact store: every cell is a kind byte and its payload, packed row
// after row into large blocks. Nothing is allocated per cell, and rows are not copied once stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta::providers {

// What a column holds, independent of any engine; the object layer maps it to the data-type
// constants of the object model.
enum class ColumnType : std::uint8_t {
    Unknown,  // not known before the rows are seen (an expression in an engine without types)
    Boolean,
    Int16,
    Int32,
    Int64,
    UInt8,
    UInt32,
    Float,
    Double,
    Decimal,
    Currency,
    Date,
    Time,
    DateTime,
    Text,
    Binary,
};

struct Column {
    std::u16string name;
    ColumnType type = ColumnType::Unknown;
    bool nullable = true;
};

enum class CellKind : std::uint8_t {
    Null,
    Boolean,
    Int16,
    Int32,
    Int64,
    UInt8,
    UInt32,
    Float,
    Double,
    Currency,  // 64-bit integer scaled by 10000
    Date,      // days since 30 December 1899, as a double
    Decimal,   // 96-bit magnitude, scale and sign
    Utf8,
    Utf16,
    Bytes,
};

struct DecimalValue {
    std::uint64_t low = 0;  // the low 64 bits of the 96-bit magnitude
    std::uint32_t high = 0;
    std::uint8_t scale = 0;
    bool negative = false;
};

// One decoded cell; text and bytes point into the store.
struct CellView {
    CellKind kind = CellKind::Null;
    union {
        std::int64_t integer;  // Boolean (0 or 1), Int16, Int32, Int64, UInt8, UInt32, Currency
        double real;           // Float (widened), Double, Date
        DecimalValue decimal;
    };
    const void* data = nullptr;  // Utf8, Utf16, Bytes
    std::size_t length = 0;      // bytes for Utf8 and Bytes, code units for Utf16

    CellView() : integer(0) {}
    std::string_view Utf8Text() const { return {static_cast<const char*>(data), length}; }
    std::u16string_view Utf16Text() const { return {static_cast<const char16_t*>(data), length}; }
};

class ResultSet {
public:
    ResultSet();
    ~ResultSet();
    ResultSet(const ResultSet&) = delete;
    ResultSet& operator=(const ResultSet&) = delete;

    std::vector<Column>& Columns() { return m_columns; }
    const std::vector<Column>& Columns() const { return m_columns; }

    // Rows are written cell by cell, one Add per column, between BeginRow and EndRow.
    void BeginRow();
    void AddNull() { PutKind(CellKind::Null, 0); }
    void AddBoolean(bool value) { PutFixed(CellKind::Boolean, static_cast<std::uint8_t>(value)); }
    void AddInt16(std::int16_t value) { PutFixed(CellKind::Int16, value); }
    void AddInt32(std::int32_t value) { PutFixed(CellKind::Int32, value); }
    void AddInt64(std::int64_t value) { PutFixed(CellKind::Int64, value); }
    // The narrowest of Int32 and Int64 that holds the value.
    void AddInteger(std::int64_t value);
    void AddUInt8(std::uint8_t value) { PutFixed(CellKind::UInt8, value); }
    void AddUInt32(std::uint32_t value) { PutFixed(CellKind::UInt32, value); }
    void AddFloat(float value) { PutFixed(CellKind::Float, value); }
    void AddDouble(double value) { PutFixed(CellKind::Double, value); }
    void AddCurrency(std::int64_t scaled) { PutFixed(CellKind::Currency, scaled); }
    void AddDate(double days) { PutFixed(CellKind::Date, days); }
    void AddDecimal(const DecimalValue& value);
    void AddUtf8(std::string_view text) { PutBytes(CellKind::Utf8, text.data(), text.size(), text.size()); }
    void AddUtf16(std::u16string_view text) {
        PutBytes(CellKind::Utf16, text.data(), text.size() * sizeof(char16_t), text.size());
    }
    void AddBytes(const void* data, std::size_t length) { PutBytes(CellKind::Bytes, data, length, length); }
    void EndRow();

    std::size_t RowCount() const { return m_rows.size(); }

    // The offsets of a row's cells, for reading them in any order.
    void LocateCells(std::size_t row, std::vector<std::uint32_t>& offsets) const;
    CellView Cell(std::size_t row, std::uint32_t offset) const;

    // Gives the blocks back; the store is empty afterwards.
    void Clear();

    // Large blocks that stores give back are kept for the next store, so that a large result
    // read again and again does not fault its memory in each time. This frees them.
    static void ReleaseCachedBlocks();

    // One allocation of the store.
    struct Block;

private:

    std::byte* Reserve(std::size_t bytes) {
        if (m_end && static_cast<std::size_t>(m_limit - m_end) >= bytes) return m_end;
        return ReserveInNewBlock(bytes);
    }
    std::byte* ReserveInNewBlock(std::size_t bytes);
    void PutKind(CellKind kind, std::size_t payload) {
        std::byte* at = Reserve(1 + payload);
        *at = static_cast<std::byte>(kind);
        m_end = at + 1;
    }
    template <class T>
    void PutFixed(CellKind kind, T value) {
        std::byte* at = Reserve(1 + sizeof(T));
        *at = static_cast<std::byte>(kind);
        std::memcpy(at + 1, &value, sizeof(T));
        m_end = at + 1 + sizeof(T);
    }
    void PutBytes(CellKind kind, const void* data, std::size_t bytes, std::size_t length);

    std::vector<Column> m_columns;
    std::vector<std::unique_ptr<Block>> m_blocks;
    std::vector<const std::byte*> m_rows;
    std::byte* m_rowStart = nullptr;
    std::byte* m_end = nullptr;    // where the next cell goes
    std::byte* m_limit = nullptr;  // end of the current block
};

}  // namespace orvanta::providers
