// The state that a Recordset shares with its Fields and Field objects: the rows of the result and
// the current position. Fields and Field hold it by shared ownership, so that nothing dangles
// when the Recordset closes or goes away while a caller still holds a Field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "providers/result_set.h"

namespace orvanta::objects {

class Cursor {
public:
    providers::ResultSet& Rows() { return m_rows; }
    const providers::ResultSet& Rows() const { return m_rows; }
    std::size_t RowCount() const { return m_rows.RowCount(); }

    bool IsOpen() const { return m_open; }
    void Open() {
        m_open = true;
        m_position = 0;
        m_located = kNone;
    }
    // Gives the rows back; Field objects still held see a closed cursor.
    void Close() {
        m_open = false;
        m_located = kNone;
        m_rows.Clear();
    }

    // Positions run from -1 (before the first record) to RowCount() (after the last).
    std::ptrdiff_t Position() const { return m_position; }
    void MoveTo(std::ptrdiff_t position) { m_position = position; }
    bool IsBof() const { return m_position < 0 || RowCount() == 0; }
    bool IsEof() const { return m_position >= static_cast<std::ptrdiff_t>(RowCount()); }
    bool HasCurrentRecord() const { return m_open && !IsBof() && !IsEof(); }

    // A cell of the current record; the caller has checked HasCurrentRecord().
    providers::CellView CurrentCell(std::size_t column) {
        const auto row = static_cast<std::size_t>(m_position);
        if (m_located != row) {
            m_rows.LocateCells(row, m_offsets);
            m_located = row;
        }
        return m_rows.Cell(row, m_offsets[column]);
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    providers::ResultSet m_rows;
    bool m_open = false;
    std::ptrdiff_t m_position = 0;
    std::vector<std::uint32_t> m_offsets;  // of the cells of row m_located
    std::size_t m_located = kNone;
};

}  // namespace orvanta::objects
