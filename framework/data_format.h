#pragma once
// The format object between a bound box and its column: Format turns the column value into the
// box's text, UnFormat the box's text into the column value. Handlers replace the value.

#include "framework/event.h"
#include "rules/value.h"

namespace condpag {

struct DataValue {
    Value value;
};

class StdDataFormat {
  public:
    Event<DataValue&> Format;    // column value -> text shown
    Event<DataValue&> UnFormat;  // text typed -> column value

    // Runs the handlers on a value; without handlers the value passes unchanged.
    Value format(const Value& stored) const;
    Value unformat(const Value& shown) const;
};

// Connects the day/month conversions: a stored 1231 shows as "31/12", "31/12" is stored as 1231,
// null and an empty text stay null.
void use_day_month(StdDataFormat& format);

}  // namespace condpag
