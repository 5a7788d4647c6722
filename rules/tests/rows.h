#pragma once
// Rows written the way the tests need them, and readable values in failure messages.

#include <ostream>

#include "rules/value.h"

namespace condpag {

inline Record with(Record row, const Record& changes) {
    for (const auto& [column, value] : changes) row[column] = value;
    return row;
}

// An installment of type 2, rule 1, 0 days from the invoice, commercial calendar, 100 % of both
// parts, no fixed amount.
inline Record rata(const Record& changes = {}) {
    return with({{"CG63_PROG", 1},
                 {"CG63_TIPOEFF", 2},
                 {"CG63_STIPOEFF", Value()},
                 {"CG63_INDTIPODECOR", 1},
                 {"CG63_GGDECOR", 0},
                 {"CG63_INDDATARIF", 0},
                 {"CG63_INDTIPOCALEND", 0},
                 {"CG63_FLGFRPERCIMP", 1},
                 {"CG63_PERCIMP", 100},
                 {"CG63_FLGFRPERCIVA", 1},
                 {"CG63_PERCIVA", 100},
                 {"CG63_INDIMPFIX", 0}},
                changes);
}

inline Record periodo(int lower, int upper, int type, int days, Value fixed = {}) {
    return {{"CG65_DAMMGG", lower},
            {"CG65_AMMGG", upper},
            {"CG65_INDTIPOSLIT", type},
            {"CG65_GGSLSUCC", days},
            {"CG65_GGMMFIXSLIT", fixed}};
}

inline void PrintTo(const Value& value, std::ostream* out) {
    if (value.is_null()) {
        *out << "null";
    } else if (value.is_text()) {
        *out << '"' << value.text() << '"';
    } else {
        *out << value.to_text();
    }
}

}  // namespace condpag
