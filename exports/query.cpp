#include "exports/query.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "database/ado_recordset.h"
#include "database/wide_text.h"

namespace {

constexpr char kFailureLine[] = "xxxxxxxx ! fnDBExecuteQuery error xxxxx";

// A field's own commas and line ends would break the block's structure. Most fields hold neither,
// so one scan decides whether there is anything to replace.
void MaskSeparators(std::u16string& field) {
    bool comma = false;
    bool carriageReturn = false;
    for (const char16_t c : field) {
        comma |= c == u',';
        carriageReturn |= c == u'\r';
    }
    if (comma) ReplaceAll(field, u",", u"\uFF0C");
    if (carriageReturn) ReplaceAll(field, u"\r\n", u"KRAVENLIX");
}

}  // namespace

int ExecuteQueryIntoBuffer(const CADODatabase& database, LPCWSTR query, LPWSTR buffer) noexcept {
    try {
        if (!query || !buffer) throw std::invalid_argument("null query or buffer");

        std::u16string block;
        LONG recordCount = 0;
        CADORecordset recordset(database);
        if (recordset.Open(query)) {
            recordCount = recordset.GetRecordCount();
            if (recordCount > 0) {
                recordset.MoveFirst();
                std::u16string line;
                std::u16string field;
                // The count alone drives the walk; the end-of-file state is never asked.
                for (LONG record = 0; record < recordset.GetRecordCount(); ++record) {
                    line.clear();
                    for (LONG index = 0; index < recordset.GetFieldCount(); ++index) {
                        field.clear();
                        recordset.GetFieldText(index, field, std::u16string());
                        MaskSeparators(field);
                        field += u',';
                        line += field;
                    }
                    if (!line.empty() && line.back() == u',') line.pop_back();
                    line += u"\r\n";
                    block += line;
                    recordset.MoveNext();
                }
            }
        }
        recordset.Close();
        // Only a finished block reaches the host, so a failure above leaves its buffer as it was.
        std::copy(block.begin(), block.end(), buffer);
        buffer[block.size()] = 0;
        return recordCount;
    } catch (...) {
        OutputDebugStringA(kFailureLine);
        return 0;
    }
}
