#pragma once

#include <vector>

#include <libpq-fe.h>

#include "providers/postgresql/types.h"
#include "providers/result_set.h"

namespace orvanta::providers::postgresql {

// Collects the rows of the first statement of a text that returns a row set, result by result
// as they arrive; the rows of later statements are dropped.
class RowReader {
public:
    RowReader(ResultSet& result, ValueContext& context) : m_result(result), m_context(context) {}

    void Take(const PGresult* result);
    // True once a statement returned a row set, even an empty one.
    bool Found() const { return m_state != State::Waiting; }

private:
    enum class State { Waiting, Reading, Done };

    void Describe(const PGresult* result);

    ResultSet& m_result;
    ValueContext& m_context;
    std::vector<TypeOid> m_types;
    State m_state = State::Waiting;
};

}  // namespace orvanta::providers::postgresql
