#include "providers/odbc/rows.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "providers/odbc/errors.h"
#include "providers/odbc/text.h"
#include "providers/odbc/types.h"
#include "providers/value_text.h"

namespace orvanta::providers::odbc {
namespace {

// Bound buffers for values whose declared length is larger or unknown; longer values are read
// again whole with SQLGetData, so these only decide how often that happens.
constexpr std::size_t kBoundTextUnits = 256;
constexpr std::size_t kBoundBinaryBytes = 512;
constexpr std::size_t kBoundDecimalUnits = 48;
// Rows per fetch are as many as fit here.
constexpr std::size_t kBlockBytes = 256 * 1024;
// SQLGetData reads into a buffer of at least this many units, grown to the longest value.
constexpr std::size_t kFirstPieceUnits = 4096;

struct ColumnPlan {
    Fetch fetch = Fetch::Text;
    SQLSMALLINT cType = SQL_C_WCHAR;
    bool bound = false;
    std::size_t width = 0;   // bytes of one value in the bound buffer
    std::size_t offset = 0;  // where the column's values start in the bound buffer
};

std::size_t RoundUp(std::size_t value, std::size_t step) { return (value + step - 1) / step * step; }

std::size_t BoundWidth(Fetch fetch, SQLULEN declared) {
    const auto limited = [&](std::size_t cap) { return declared == 0 || declared > cap ? cap : static_cast<std::size_t>(declared); };
    switch (fetch) {
        case Fetch::Text: return (limited(kBoundTextUnits) + 1) * sizeof(SQLWCHAR);
        case Fetch::DecimalText: return (std::min(limited(kBoundDecimalUnits) + 3, kBoundDecimalUnits) + 1) * sizeof(SQLWCHAR);
        case Fetch::Binary: return std::max<std::size_t>(limited(kBoundBinaryBytes), 1);
        default: return FixedSize(fetch);
    }
}

bool IsInteger(SQLSMALLINT sqlType) {
    return sqlType == SQL_TINYINT || sqlType == SQL_SMALLINT || sqlType == SQL_INTEGER || sqlType == SQL_BIGINT;
}

// Keeps the statement's row-set attributes pointing at our buffers only while they live.
class BindingReset {
public:
    BindingReset(const Handle& statement, bool block) : m_statement(statement), m_block(block) {}
    ~BindingReset() {
        SQLFreeStmt(m_statement.Get(), SQL_UNBIND);
        if (!m_block) return;
        SQLSetStmtAttr(m_statement.Get(), SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN{1}), 0);
        SQLSetStmtAttr(m_statement.Get(), SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
        SQLSetStmtAttr(m_statement.Get(), SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
    }
    BindingReset(const BindingReset&) = delete;
    BindingReset& operator=(const BindingReset&) = delete;

private:
    const Handle& m_statement;
    bool m_block;
};

class RowReader {
public:
    RowReader(const Handle& statement, const FetchOptions& options, ResultSet& result)
        : m_statement(statement), m_options(options), m_result(result) {}

    void Run() {
        Describe();
        Plan();
        const BindingReset reset(m_statement, m_rows > 1);
        Bind();
        for (;;) {
            const SQLRETURN rc = SQLFetch(m_statement.Get());
            if (rc == SQL_NO_DATA) break;
            if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) throw DiagnosticError(m_statement, rc, Stage::Statement);
            const std::size_t fetched = m_rows > 1 ? static_cast<std::size_t>(m_fetched) : 1;
            for (std::size_t row = 0; row < fetched && row < m_rows; ++row) {
                if (m_rows > 1 && m_statuses[row] == SQL_ROW_NOROW) continue;
                // A row the driver could not convert must not vanish from the block unnoticed.
                if (m_rows > 1 && m_statuses[row] == SQL_ROW_ERROR) throw DiagnosticError(m_statement, SQL_ERROR, Stage::Statement);
                AddRow(row);
            }
        }
    }

private:
    void Describe() {
        SQLSMALLINT count = 0;
        Check(SQLNumResultCols(m_statement.Get(), &count), m_statement);
        std::vector<Column>& columns = m_result.Columns();
        columns.resize(static_cast<std::size_t>(std::max<SQLSMALLINT>(count, 0)));
        m_plan.resize(columns.size());
        m_declared.resize(columns.size());
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const auto number = static_cast<SQLUSMALLINT>(i + 1);
            SQLSMALLINT sqlType = 0;
            SQLSMALLINT nullable = SQL_NULLABLE_UNKNOWN;
            Check(DescribeColumn(m_statement, number, columns[i].name, sqlType, m_declared[i], nullable), m_statement);
            SQLLEN isUnsigned = SQL_FALSE;
            if (IsInteger(sqlType) &&
                !SQL_SUCCEEDED(SQLColAttributeW(m_statement.Get(), number, SQL_DESC_UNSIGNED, nullptr, 0, nullptr, &isUnsigned))) {
                isUnsigned = SQL_FALSE;
            }
            m_plan[i].fetch = FetchOf(sqlType, isUnsigned == SQL_TRUE);
            m_plan[i].cType = CTypeOf(m_plan[i].fetch);
            columns[i].type = ColumnTypeOf(m_plan[i].fetch);
            columns[i].nullable = nullable != SQL_NO_NULLS;
        }
    }

    // Binds what the driver lets us read again whole when it does not fit; the rest goes through
    // SQLGetData. Several rows per fetch only when no value can be too long for its buffer: reading
    // one again within a block needs SQLSetPos, which drivers do not offer on forward-only cursors.
    void Plan() {
        const DriverCapabilities& can = m_options.capabilities;
        bool blocks = std::none_of(m_plan.begin(), m_plan.end(), [](const ColumnPlan& c) { return IsVariable(c.fetch); });
        bool previousUnbound = false;
        for (ColumnPlan& column : m_plan) {
            column.bound = !IsVariable(column.fetch) || can.getDataBound;
            // Without SQL_GD_ANY_COLUMN, SQLGetData only reaches columns after the last bound one.
            if (previousUnbound && !can.getDataAnyColumn) column.bound = false;
            previousUnbound = previousUnbound || !column.bound;
        }
        if (previousUnbound) blocks = false;

        std::size_t rowBytes = 0;
        for (std::size_t i = 0; i < m_plan.size(); ++i) {
            if (!m_plan[i].bound) continue;
            m_plan[i].width = BoundWidth(m_plan[i].fetch, m_declared[i]);
            rowBytes += m_plan[i].width + sizeof(SQLLEN);
        }
        m_rows = 1;
        if (blocks && rowBytes > 0) m_rows = std::clamp<std::size_t>(kBlockBytes / rowBytes, 1, std::max<std::size_t>(m_options.maxBlockRows, 1));
    }

    void Bind() {
        if (m_rows > 1) SetUpBlock();
        std::size_t bytes = 0;
        for (ColumnPlan& column : m_plan) {
            if (!column.bound) continue;
            column.offset = bytes;
            bytes += RoundUp(column.width * m_rows, alignof(std::uint64_t));
        }
        m_buffer = std::make_unique<std::uint64_t[]>(bytes / sizeof(std::uint64_t) + 1);
        m_indicators.assign(m_plan.size() * m_rowsAllocated, 0);
        for (std::size_t i = 0; i < m_plan.size(); ++i) {
            const ColumnPlan& column = m_plan[i];
            if (!column.bound) continue;
            Check(SQLBindCol(m_statement.Get(), static_cast<SQLUSMALLINT>(i + 1), column.cType, Data(i, 0),
                             static_cast<SQLLEN>(column.width), &m_indicators[i * m_rowsAllocated]),
                  m_statement);
        }
    }

    // Asks for m_rows rows per fetch; a driver that takes fewer (or none) gets what it takes. The
    // buffers stay sized for the rows asked for.
    void SetUpBlock() {
        m_rowsAllocated = m_rows;
        const SQLHSTMT statement = m_statement.Get();
        SQLULEN granted = 1;
        if (SQL_SUCCEEDED(SQLSetStmtAttr(statement, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN{m_rows}), 0)) &&
            !SQL_SUCCEEDED(SQLGetStmtAttr(statement, SQL_ATTR_ROW_ARRAY_SIZE, &granted, 0, nullptr))) {
            granted = 1;
        }
        if (granted < 1 || granted > m_rows) {
            granted = 1;
            SQLSetStmtAttr(statement, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN{1}), 0);
        }
        m_rows = static_cast<std::size_t>(granted);
        m_statuses.assign(m_rowsAllocated, SQL_ROW_NOROW);
        Check(SQLSetStmtAttr(statement, SQL_ATTR_ROW_BIND_TYPE, reinterpret_cast<SQLPOINTER>(SQLULEN{SQL_BIND_BY_COLUMN}), 0), m_statement);
        Check(SQLSetStmtAttr(statement, SQL_ATTR_ROWS_FETCHED_PTR, &m_fetched, 0), m_statement);
        Check(SQLSetStmtAttr(statement, SQL_ATTR_ROW_STATUS_PTR, m_statuses.data(), 0), m_statement);
    }

    std::byte* Data(std::size_t column, std::size_t row) {
        return reinterpret_cast<std::byte*>(m_buffer.get()) + m_plan[column].offset + row * m_plan[column].width;
    }

    bool Truncated(const ColumnPlan& column, SQLLEN indicator) const {
        if (indicator == SQL_NO_TOTAL) return true;
        const std::size_t room = column.cType == SQL_C_WCHAR ? column.width - sizeof(SQLWCHAR) : column.width;
        return static_cast<std::size_t>(indicator) > room;
    }

    void AddRow(std::size_t row) {
        m_result.BeginRow();
        for (std::size_t i = 0; i < m_plan.size(); ++i) {
            const ColumnPlan& column = m_plan[i];
            const auto number = static_cast<SQLUSMALLINT>(i + 1);
            if (!column.bound) {
                if (IsVariable(column.fetch)) {
                    ReadWhole(number, column);
                } else {
                    ReadFixed(number, column);
                }
                continue;
            }
            const SQLLEN indicator = m_indicators[i * m_rowsAllocated + row];
            if (indicator == SQL_NULL_DATA) {
                m_result.AddNull();
            } else if (!IsVariable(column.fetch)) {
                AddFixed(column.fetch, Data(i, row), m_result);
            } else if (Truncated(column, indicator)) {
                ReadWhole(number, column);  // only ever with one row per fetch
            } else {
                AddVariable(column.fetch, Data(i, row), static_cast<std::size_t>(indicator));
            }
        }
        m_result.EndRow();
    }

    void AddVariable(Fetch fetch, const void* data, std::size_t bytes) {
        if (fetch == Fetch::Binary) {
            m_result.AddBytes(data, bytes);
            return;
        }
        const std::u16string_view text(static_cast<const char16_t*>(data), bytes / sizeof(char16_t));
        if (fetch == Fetch::DecimalText) {
            if (const auto decimal = ParseDecimal(text, DecimalSyntax::Plain)) return m_result.AddDecimal(*decimal);
        }
        m_result.AddUtf16(text);
    }

    void ReadFixed(SQLUSMALLINT number, const ColumnPlan& column) {
        alignas(std::uint64_t) std::byte value[sizeof(SQL_TIMESTAMP_STRUCT) + sizeof(std::uint64_t)] = {};
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(m_statement.Get(), number, column.cType, value, sizeof value, &indicator);
        if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) throw DiagnosticError(m_statement, rc, Stage::Statement);
        if (indicator == SQL_NULL_DATA) {
            m_result.AddNull();
        } else {
            AddFixed(column.fetch, value, m_result);
        }
    }

    // Reads a whole value in as many pieces as the driver hands out, into one buffer that is kept
    // for the next value.
    void ReadWhole(SQLUSMALLINT number, const ColumnPlan& column) {
        const bool text = column.cType == SQL_C_WCHAR;
        const std::size_t terminator = text ? sizeof(SQLWCHAR) : 0;
        if (m_piece.size() < kFirstPieceUnits) m_piece.resize(kFirstPieceUnits);
        std::size_t bytes = 0;
        for (;;) {
            std::byte* const at = reinterpret_cast<std::byte*>(m_piece.data()) + bytes;
            const std::size_t room = m_piece.size() * sizeof(char16_t) - bytes;
            char16_t* const lastUnit = text ? reinterpret_cast<char16_t*>(at + room) - 1 : nullptr;
            if (text) *lastUnit = u'\xFFFF';
            SQLLEN remaining = 0;
            const SQLRETURN rc = SQLGetData(m_statement.Get(), number, column.cType, at, static_cast<SQLLEN>(room), &remaining);
            if (rc == SQL_NO_DATA) break;
            if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) throw DiagnosticError(m_statement, rc, Stage::Statement);
            if (remaining == SQL_NULL_DATA) {
                m_result.AddNull();
                return;
            }
            if (remaining != SQL_NO_TOTAL && static_cast<std::size_t>(remaining) + terminator <= room) {
                bytes += static_cast<std::size_t>(remaining);  // the last piece
                break;
            }
            // The piece filled the buffer, less the terminator, unless the driver stopped short of
            // it to keep a character whole; then the terminator shows where it stopped.
            std::size_t written = room - terminator;
            if (text && *lastUnit != u'\0') {
                const auto* first = reinterpret_cast<const char16_t*>(at);
                written = static_cast<std::size_t>(std::find(first, static_cast<const char16_t*>(lastUnit), u'\0') - first) *
                          sizeof(char16_t);
            }
            if (written == 0) {
                throw ProviderError(ErrorKind::General, u"The ODBC driver announced more of a value but handed out none of it.");
            }
            bytes += written;
            std::size_t wanted = m_piece.size() * 2;
            if (remaining != SQL_NO_TOTAL) {
                const std::size_t rest = static_cast<std::size_t>(remaining) > written ? static_cast<std::size_t>(remaining) - written : 0;
                wanted = std::max(wanted, (bytes + rest + terminator) / sizeof(char16_t) + 1);
            }
            m_piece.resize(wanted);
        }
        AddVariable(column.fetch, m_piece.data(), bytes);
    }

    const Handle& m_statement;
    const FetchOptions& m_options;
    ResultSet& m_result;
    std::vector<ColumnPlan> m_plan;
    std::vector<SQLULEN> m_declared;
    std::size_t m_rows = 1;           // rows per fetch
    std::size_t m_rowsAllocated = 1;  // rows the bound buffers hold
    std::unique_ptr<std::uint64_t[]> m_buffer;
    std::vector<SQLLEN> m_indicators;
    std::vector<SQLUSMALLINT> m_statuses;
    SQLULEN m_fetched = 0;
    std::vector<char16_t> m_piece;
};

}  // namespace

DriverCapabilities QueryCapabilities(const Handle& connection) {
    SQLUINTEGER getData = 0;
    if (!SQL_SUCCEEDED(SQLGetInfoW(connection.Get(), SQL_GETDATA_EXTENSIONS, &getData, sizeof getData, nullptr))) getData = 0;
    DriverCapabilities capabilities;
    capabilities.getDataAnyColumn = (getData & SQL_GD_ANY_COLUMN) != 0;
    capabilities.getDataBound = (getData & SQL_GD_BOUND) != 0;
    return capabilities;
}

void FetchRows(const Handle& statement, const FetchOptions& options, ResultSet& result) {
    RowReader(statement, options, result).Run();
}

}  // namespace orvanta::providers::odbc
