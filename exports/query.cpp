#include "exports/query.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#include "database/ado_recordset.h"
#include "database/wide_text.h"

namespace {

constexpr char kFailureLine[] = "xxxxxxxx ! fnDBExecuteQuery error xxxxx";

// True when a 16-bit lane of `word` equals the lane repeated in `pattern`.
bool HasLane(std::uint64_t word, std::uint64_t pattern) {
    const std::uint64_t x = word ^ pattern;
    return ((x - 0x0001000100010001ULL) & ~x & 0x8000800080008000ULL) != 0;
}

// Whether the text holds a comma or a CR, four characters at a time.
bool HoldsSeparators(std::u16string_view text) {
    constexpr std::uint64_t kCommas = 0x002C002C002C002CULL;
    constexpr std::uint64_t kReturns = 0x000D000D000D000DULL;
    std::size_t i = 0;
    for (; i + 4 <= text.size(); i += 4) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        if (HasLane(word, kCommas) || HasLane(word, kReturns)) return true;
    }
    for (; i < text.size(); ++i) {
        if (text[i] == u',' || text[i] == u'\r') return true;
    }
    return false;
}

// A field's own commas and line ends would break the block's structure. Most fields hold neither,
// so one quick scan decides whether there is anything to replace.
void MaskSeparators(std::u16string& field) {
    if (!HoldsSeparators(field)) return;
    ReplaceAll(field, u",", u"\uFF0C");
    ReplaceAll(field, u"\r\n", u"KRAVENLIX");
}

}  // namespace

int ExecuteQueryIntoBuffer(const CADODatabase& database, LPCWSTR query, LPWSTR buffer, CTextBlock& block) noexcept {
    try {
        if (!query || !buffer) throw std::invalid_argument("null query or buffer");

        block.Clear();
        LONG recordCount = 0;
        CADORecordset recordset(database);
        if (recordset.Open(query)) {
            recordCount = recordset.GetRecordCount();
            if (recordCount > 0) {
                recordset.MoveFirst();
                std::u16string field;
                // The count alone drives the walk; the end-of-file state is never asked. Each row
                // line is built at the end of the block itself: every field adds its text and a
                // ",", so the line ends in "," exactly when it has fields, and that one goes.
                for (LONG record = 0; record < recordset.GetRecordCount(); ++record) {
                    bool lineHasFields = false;
                    for (LONG index = 0; index < recordset.GetFieldCount(); ++index) {
                        field.clear();
                        recordset.GetFieldText(index, field, std::u16string());
                        MaskSeparators(field);
                        block.Append(field);
                        block.Append(u',');
                        lineHasFields = true;
                    }
                    if (lineHasFields) block.RemoveLast();
                    block.Append(u"\r\n");
                    recordset.MoveNext();
                }
            }
        }
        recordset.Close();
        // Only a finished block reaches the host, so a failure above leaves its buffer as it was.
        block.CopyTo(buffer);
        buffer[block.Size()] = 0;
        return recordCount;
    } catch (...) {
        OutputDebugStringA(kFailureLine);
        return 0;
    }
}
