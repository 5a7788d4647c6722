#pragma once
// Readable values in test failure messages.

#include <ostream>

#include "rules/value.h"

namespace condpag {

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
