#include "providers/result_set.h"

#include "memory/large_block.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <limits>
#include <mutex>
#include <type_traits>

namespace orvanta::providers {

// Blocks start small, so that short results stay cheap, and grow to a size at which allocation
// cost vanishes against the rows they hold.
namespace {
constexpr std::size_t kFirstBlock = 16 * 1024;
constexpr std::size_t kLargestBlock = 4 * 1024 * 1024;

std::size_t VarintSize(std::size_t value) {
    std::size_t size = 1;
    while (value >= 0x80) {
        value >>= 7;
        ++size;
    }
    return size;
}

std::byte* PutVarint(std::byte* at, std::size_t value) {
    while (value >= 0x80) {
        *at++ = static_cast<std::byte>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    *at++ = static_cast<std::byte>(value);
    return at;
}

const std::byte* GetVarint(const std::byte* at, std::size_t& value) {
    value = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<std::size_t>(*at++);
        value |= (byte & 0x7F) << shift;
        if (!(byte & 0x80)) return at;
    }
}

// Rows start at 8-byte boundaries and keep them when they move, so UTF-16 text can be padded to an
// even address and read in place.
template <class P>
P* AlignUtf16(P* at) {
    return reinterpret_cast<std::uintptr_t>(at) & 1 ? at + 1 : at;
}

template <class T>
T Load(const std::byte* at) {
    T value;
    std::memcpy(&value, at, sizeof(T));
    return value;
}

std::size_t PayloadSize(CellKind kind, const std::byte* payload, const std::byte** data, std::size_t* length) {
    switch (kind) {
        case CellKind::Null: return 0;
        case CellKind::Boolean: case CellKind::UInt8: return 1;
        case CellKind::Int16: return 2;
        case CellKind::Int32: case CellKind::UInt32: case CellKind::Float: return 4;
        case CellKind::Int64: case CellKind::Double: case CellKind::Currency: case CellKind::Date: return 8;
        case CellKind::Decimal: return 14;
        case CellKind::Utf8: case CellKind::Utf16: case CellKind::Bytes: {
            std::size_t count;
            const std::byte* start = GetVarint(payload, count);
            if (kind == CellKind::Utf16) start = AlignUtf16(start);
            *data = start;
            *length = count;
            const std::size_t bytes = kind == CellKind::Utf16 ? count * sizeof(char16_t) : count;
            return static_cast<std::size_t>(start - payload) + bytes;
        }
    }
    return 0;
}

}  // namespace

struct ResultSet::Block {
    explicit Block(std::size_t bytesWanted)
        : bytes(bytesWanted >= kLargestBlock ? static_cast<std::byte*>(memory::AllocateLarge(bytesWanted))
                                             : new std::byte[bytesWanted]),
          size(bytesWanted) {}
    ~Block() {
        if (size >= kLargestBlock) {
            memory::FreeLarge(bytes, size);
        } else {
            delete[] bytes;
        }
    }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

    std::byte* const bytes;
    const std::size_t size;
};

namespace {

// The blocks of the largest size, kept between stores. Trivially destructible on purpose: stores
// may be cleared while the module's static objects are being destroyed, in any order.
class BlockCache {
public:
    std::unique_ptr<ResultSet::Block> Take() {
        std::lock_guard lock(m_mutex);
        if (m_count == 0) return nullptr;
        return std::unique_ptr<ResultSet::Block>(m_blocks[--m_count]);
    }
    void Give(std::vector<std::unique_ptr<ResultSet::Block>>& blocks) {
        std::lock_guard lock(m_mutex);
        for (auto& block : blocks) {
            if (block && block->size == kLargestBlock && m_count < m_blocks.size()) m_blocks[m_count++] = block.release();
        }
    }
    void Release() {
        std::lock_guard lock(m_mutex);
        while (m_count > 0) delete m_blocks[--m_count];
        delete m_rows;
        m_rows = nullptr;
    }

    // The row index of a large result, kept with its capacity: a growing index moves into it.
    void TakeRows(std::vector<const std::byte*>& rows) {
        std::lock_guard lock(m_mutex);
        if (!m_rows || m_rows->capacity() <= rows.capacity()) return;
        m_rows->assign(rows.begin(), rows.end());
        rows.swap(*m_rows);
        m_rows->clear();
    }
    void GiveRows(std::vector<const std::byte*>& rows) {
        if (rows.capacity() < kCachedRowsFrom) return;
        rows.clear();
        std::lock_guard lock(m_mutex);
        if (!m_rows) m_rows = new std::vector<const std::byte*>;
        if (rows.capacity() > m_rows->capacity()) rows.swap(*m_rows);
    }

private:
    static constexpr std::size_t kCachedRowsFrom = 65536;

    std::mutex m_mutex;
    std::array<ResultSet::Block*, 256> m_blocks{};  // at most 1 GB kept
    std::size_t m_count = 0;
    std::vector<const std::byte*>* m_rows = nullptr;
};

constinit BlockCache g_cache;
static_assert(std::is_trivially_destructible_v<BlockCache>);

BlockCache& Cache() { return g_cache; }

}  // namespace

ResultSet::ResultSet() = default;
ResultSet::~ResultSet() { Clear(); }

void ResultSet::ReleaseCachedBlocks() { Cache().Release(); }

void ResultSet::Clear() {
    Cache().Give(m_blocks);
    m_blocks.clear();
    Cache().GiveRows(m_rows);
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_rowStart = m_end = m_limit = nullptr;
}

void ResultSet::BeginRow() {
    m_rowStart = nullptr;
    std::byte* at = Reserve(alignof(std::uint64_t));
    m_end = at + (-reinterpret_cast<std::uintptr_t>(at) & (alignof(std::uint64_t) - 1));
    m_rowStart = m_end;
}

void ResultSet::EndRow() {
    if (m_rows.size() == m_rows.capacity() && m_rows.size() >= 4096) Cache().TakeRows(m_rows);
    m_rows.push_back(m_rowStart);
    m_rowStart = nullptr;
}

void ResultSet::AddInteger(std::int64_t value) {
    if (value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max()) {
        AddInt32(static_cast<std::int32_t>(value));
    } else {
        AddInt64(value);
    }
}

void ResultSet::AddDecimal(const DecimalValue& value) {
    std::byte* at = Reserve(15);
    *at = static_cast<std::byte>(CellKind::Decimal);
    std::memcpy(at + 1, &value.low, 8);
    std::memcpy(at + 9, &value.high, 4);
    at[13] = static_cast<std::byte>(value.scale);
    at[14] = static_cast<std::byte>(value.negative ? 1 : 0);
    m_end = at + 15;
}

void ResultSet::PutBytes(CellKind kind, const void* data, std::size_t bytes, std::size_t length) {
    std::byte* at = Reserve(1 + VarintSize(length) + 1 + bytes);
    *at = static_cast<std::byte>(kind);
    std::byte* payload = PutVarint(at + 1, length);
    if (kind == CellKind::Utf16) payload = AlignUtf16(payload);
    if (bytes) std::memcpy(payload, data, bytes);
    m_end = payload + bytes;
}

// Makes room for `bytes` more bytes of the current row. A row never spans two blocks: when the
// block is full, the part of the row written so far moves to the next one.
std::byte* ResultSet::ReserveInNewBlock(std::size_t bytes) {
    const std::size_t partial = m_rowStart && m_end ? static_cast<std::size_t>(m_end - m_rowStart) : 0;
    const std::size_t previous = m_blocks.empty() ? 0 : m_blocks.back()->size;
    const std::size_t grown = std::clamp(previous * 2, kFirstBlock, kLargestBlock);
    std::unique_ptr<Block> block;
    if (grown == kLargestBlock && partial + bytes <= kLargestBlock) block = Cache().Take();
    if (!block) block = std::make_unique<Block>(std::max(grown, partial + bytes));
    std::byte* start = block->bytes;
    if (partial) std::memcpy(start, m_rowStart, partial);
    m_rowStart = start;
    m_end = start + partial;
    m_limit = start + block->size;
    m_blocks.push_back(std::move(block));
    return m_end;
}

void ResultSet::LocateCells(std::size_t row, std::vector<std::uint32_t>& offsets) const {
    assert(row < m_rows.size());
    const std::byte* start = m_rows[row];
    const std::byte* at = start;
    offsets.resize(m_columns.size());
    for (std::uint32_t& offset : offsets) {
        offset = static_cast<std::uint32_t>(at - start);
        const auto kind = static_cast<CellKind>(*at++);
        const std::byte* data;
        std::size_t length;
        at += PayloadSize(kind, at, &data, &length);
    }
}

CellView ResultSet::Cell(std::size_t row, std::uint32_t offset) const {
    const std::byte* at = m_rows[row] + offset;
    CellView cell;
    cell.kind = static_cast<CellKind>(*at++);
    switch (cell.kind) {
        case CellKind::Null: break;
        case CellKind::Boolean: case CellKind::UInt8: cell.integer = Load<std::uint8_t>(at); break;
        case CellKind::Int16: cell.integer = Load<std::int16_t>(at); break;
        case CellKind::Int32: cell.integer = Load<std::int32_t>(at); break;
        case CellKind::UInt32: cell.integer = Load<std::uint32_t>(at); break;
        case CellKind::Int64: case CellKind::Currency: cell.integer = Load<std::int64_t>(at); break;
        case CellKind::Float: cell.real = Load<float>(at); break;
        case CellKind::Double: case CellKind::Date: cell.real = Load<double>(at); break;
        case CellKind::Decimal:
            cell.decimal.low = Load<std::uint64_t>(at);
            cell.decimal.high = Load<std::uint32_t>(at + 8);
            cell.decimal.scale = static_cast<std::uint8_t>(at[12]);
            cell.decimal.negative = at[13] != std::byte{0};
            break;
        case CellKind::Utf8: case CellKind::Utf16: case CellKind::Bytes: {
            const std::byte* data;
            PayloadSize(cell.kind, at, &data, &cell.length);
            cell.data = data;
            break;
        }
    }
    return cell;
}

}  // namespace orvanta::providers
