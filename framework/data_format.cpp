#include "framework/data_format.h"

#include <cmath>
#include <cstdio>
#include <string>

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

namespace {

// Stored 100 x month + day -> "GG/MM"; null and non-numbers pass unchanged.
Value stored_to_shown(const Value& value) {
    if (value.is_null() || RTrimN(value).empty()) return value;
    auto number = value.to_number();
    if (!number || *number < 0 || std::floor(*number) != *number) return value;
    long n = static_cast<long>(*number);
    char text[16];
    std::snprintf(text, sizeof text, "%02ld/%02ld", n % 100, (n / 100) % 100);
    return Value(std::string(text));
}

// "GG/MM" (or "GGMM") -> 100 x month + day; empty -> null; anything else passes unchanged.
Value shown_to_stored(const Value& value) {
    std::string digits;
    for (char c : RTrimN(value)) {
        if (c != '/') digits += c;
    }
    if (digits.empty()) return Value();
    auto number = parse_number(digits);
    if (!number || *number < 0 || std::floor(*number) != *number) return Value(digits);
    long n = static_cast<long>(*number);
    return Value(static_cast<long>((n % 100) * 100 + n / 100));
}

}  // namespace

void use_day_month(StdDataFormat& format) {
    format.Format.connect([](DataValue& data) { data.value = stored_to_shown(data.value); });
    format.UnFormat.connect([](DataValue& data) { data.value = shown_to_stored(data.value); });
}

}  // namespace condpag
