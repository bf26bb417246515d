#include "providers/postgresql/rows.h"

#include <string_view>

#include "unicode/utf.h"

namespace orvanta::providers::postgresql {

void RowReader::Take(const PGresult* result) {
    const ExecStatusType status = PQresultStatus(result);
    if ((status != PGRES_SINGLE_TUPLE && status != PGRES_TUPLES_OK) || PQnfields(result) == 0) return;
    if (m_state == State::Done) return;
    if (m_state == State::Waiting) Describe(result);

    const int rows = PQntuples(result);
    const int columns = static_cast<int>(m_types.size());
    for (int row = 0; row < rows; ++row) {
        m_result.BeginRow();
        for (int column = 0; column < columns; ++column) {
            if (PQgetisnull(result, row, column)) {
                m_result.AddNull();
                continue;
            }
            const std::string_view text(PQgetvalue(result, row, column),
                                        static_cast<std::size_t>(PQgetlength(result, row, column)));
            AddValue(m_types[column], text, m_context, m_result);
        }
        m_result.EndRow();
    }
    // A statement's rows end with a result that holds no more of them.
    if (status == PGRES_TUPLES_OK) m_state = State::Done;
}

void RowReader::Describe(const PGresult* result) {
    const int count = PQnfields(result);
    std::vector<Column>& columns = m_result.Columns();
    columns.resize(static_cast<std::size_t>(count));
    m_types.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        m_types[i] = PQftype(result, i);
        columns[i].name.clear();
        if (const char* name = PQfname(result, i)) unicode::AppendUtf16(name, columns[i].name);
        columns[i].type = ColumnTypeOf(m_types[i]);
        columns[i].nullable = true;
    }
    m_state = State::Reading;
}

}  // namespace orvanta::providers::postgresql
