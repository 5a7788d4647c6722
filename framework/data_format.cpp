#include "framework/data_format.h"

#include "rules/day_month.h"

namespace condpag {

Value StdDataFormat::format(const Value& stored) const {
    DataValue data{stored};
    Format.emit(data);
    return data.value;
}

Value StdDataFormat::unformat(const Value& shown) const {
    DataValue data{shown};
    UnFormat.emit(data);
    return data.value;
}

void use_day_month(StdDataFormat& format) {
    format.Format.connect(
        [](DataValue& data) { data.value = FormattaGGMM(GGMMdaMMGG(data.value), 1); });
    format.UnFormat.connect(
        [](DataValue& data) { data.value = MMGGdaGGMM(Value(TogliBarre(RTrimN(data.value)))); });
}

}  // namespace condpag
