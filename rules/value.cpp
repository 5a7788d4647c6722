#include "rules/value.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace condpag {

std::string decimal_text(double number) {
    if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) < 1e15) {
        return std::to_string(static_cast<long long>(number));
    }
    char buffer[512];
    // Fixed notation: "0.0001", never "1e-04", which no reader of a column takes back.
    auto result = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

// Allocates nothing for the texts a column holds, so that the description reads every column
// with it.
std::optional<double> parse_number(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    // The decimal comma made a point in a copy on the stack: reading a column allocates nothing.
    // Only a text longer than any number a column holds takes the heap.
    std::array<char, 64> small;
    std::string large;
    char* begin = small.data();
    if (text.size() > small.size()) {
        large.assign(text);
        begin = large.data();
    } else {
        std::copy(text.begin(), text.end(), begin);
    }
    char* const end = begin + text.size();
    std::replace(begin, end, ',', '.');
    if (*begin == '+') ++begin;
    if (begin == end) return std::nullopt;
    double value = 0;
    auto result = std::from_chars(begin, end, value, std::chars_format::fixed);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

bool is_numeric(std::string_view text) { return parse_number(text).has_value(); }

std::string Value::to_text() const {
    if (is_text()) return text();
    if (is_number()) return decimal_text(number());
    return {};
}

std::optional<double> Value::to_number() const {
    if (is_number()) return number();
    if (is_text()) return parse_number(text());
    return std::nullopt;
}

std::string_view trimmed(std::string_view text, TrimSide side, std::string_view blanks) {
    const auto end = text.find_last_not_of(blanks);
    if (end == std::string_view::npos) return {};
    const auto begin = side == TrimSide::Both ? text.find_first_not_of(blanks) : 0;
    return text.substr(begin, end + 1 - begin);
}

std::string RTrimN(std::string_view text) { return std::string(trimmed(text, TrimSide::Right)); }

std::string RTrimN(const Value& value) {
    if (value.is_null()) return {};
    if (value.is_text()) return RTrimN(std::string_view(value.text()));
    return value.to_text();
}

double CDecN(std::string_view text) { return parse_number(text).value_or(0.0); }

double CDecN(const Value& value) { return value.to_number().value_or(0.0); }

bool same_code(const Value& a, const Value& b) {
    auto na = a.to_number();
    auto nb = b.to_number();
    if (na && nb) return *na == *nb;
    return RTrimN(a) == RTrimN(b);
}

const Value& field(const Record& record, std::string_view column) {
    static const Value null_value;
    auto it = record.find(column);
    return it == record.end() ? null_value : it->second;
}

}  // namespace condpag
