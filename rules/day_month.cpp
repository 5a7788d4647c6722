#include "rules/day_month.h"

#include <cmath>

namespace condpag {

namespace {

// The number of a text written as a whole number with at least `digits` digits ("0000"
// pattern, halves away from zero); a text that is no number stays as it is.
std::string padded(std::string_view text, int digits) {
    auto number = parse_number(text);
    if (!number) return std::string(text);
    double rounded = std::round(*number);
    if (std::fabs(rounded) >= 1e15) return decimal_text(rounded);
    long long whole = static_cast<long long>(rounded);
    std::string body = std::to_string(whole < 0 ? -whole : whole);
    if (static_cast<int>(body.size()) < digits) body.insert(0, digits - body.size(), '0');
    return whole < 0 ? "-" + body : body;
}

// Swaps the first two and the next two characters: "0315" <-> "1503".
std::string swap_pairs(const std::string& text) {
    std::string head = text.substr(0, std::min<size_t>(2, text.size()));
    std::string rest = text.size() > 2 ? text.substr(2) : std::string();
    std::string next = rest.substr(0, std::min<size_t>(2, rest.size()));
    std::string tail = rest.size() > 2 ? rest.substr(2) : std::string();
    return next + head + tail;
}

// A whole number from one or two characters of a shown date, or nullopt.
std::optional<int> part(const std::string& text, size_t from, size_t count) {
    if (from >= text.size()) return std::nullopt;
    auto number = parse_number(std::string_view(text).substr(from, count));
    if (!number || *number != std::trunc(*number)) return std::nullopt;
    return static_cast<int>(*number);
}

bool exists_in_1996(int day, int month) {
    static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month >= 1 && month <= 12 && day >= 1 && day <= kDays[month - 1];
}

// Day and month of a barless day (mode 0, December) or GGMM text (mode 1).
std::optional<std::pair<int, int>> day_and_month(std::string_view text, int mode) {
    std::string barless = TogliBarre(text);
    if (!is_numeric(barless)) return std::nullopt;
    if (mode == 0) {
        auto day = part(padded(barless, 2), 0, 2);
        if (!day) return std::nullopt;
        return std::pair{*day, 12};
    }
    std::string shown = padded(barless, 4);
    if (shown.size() != 4) return std::nullopt;  // 100 x month + day has four digits at most
    auto day = part(shown, 0, 2);
    auto month = part(shown, 2, 2);
    if (!day || !month) return std::nullopt;
    return std::pair{*day, *month};
}

}  // namespace

Value GGMMdaMMGG(const Value& stored) {
    if (stored.is_null()) return {};
    std::string text = RTrimN(stored);
    if (text.empty()) return Value(std::string());
    return Value(swap_pairs(padded(text, 4)));
}

Value MMGGdaGGMM(const Value& working) {
    if (working.is_null()) return {};
    std::string text = RTrimN(working);
    if (text.empty()) return {};
    std::string swapped = swap_pairs(padded(text, 4));
    if (auto number = parse_number(swapped)) return Value(*number);
    return Value(swapped);
}

Value FormattaGGMM(const Value& value, int mode) {
    if (value.is_null()) return {};
    std::string text = RTrimN(value);
    if (text.empty()) return Value(std::string());
    if (mode == 0) return Value(padded(text, 2));
    if (mode != 1) return Value(text);
    std::string shown = padded(text, 4);
    return Value(shown.substr(0, 2) + "/" + (shown.size() > 2 ? shown.substr(2, 2) : ""));
}

std::string TogliBarre(std::string_view text) {
    std::string result;
    for (char c : RTrimN(text)) {
        if (c != '/') result += c;
    }
    return result;
}

std::optional<double> FrazioneInPercentuale(std::string_view text) {
    std::string trimmed = RTrimN(text);
    if (trimmed.empty()) return 0.0;
    auto bar = trimmed.find('/');
    if (bar == std::string::npos) return parse_number(trimmed);
    auto numerator = parse_number(std::string_view(trimmed).substr(0, bar));
    auto denominator = parse_number(std::string_view(trimmed).substr(bar + 1));
    if (!numerator || !denominator || *denominator == 0) return std::nullopt;
    double result = *numerator * 100 / *denominator;
    if (!std::isfinite(result)) return std::nullopt;
    return result;
}

bool DataValida(std::string_view text, int mode, const NoticeSink& notify) {
    std::string trimmed = RTrimN(text);
    if (trimmed.empty()) return true;
    std::string barless = TogliBarre(trimmed);
    if (!is_numeric(barless)) return false;
    if (mode != 0 && mode != 1) {
        if ((mode < 0 || mode > 3) && notify) notify(kModoDataSconosciuto);
        return false;
    }
    // The shown form keeps only four digits of a day/month: a fifth one (15085) would pass as
    // 15/08 and be stored as 8155.
    if (mode == 1 && padded(barless, 4).size() != 4) return false;
    std::string shown = FormattaGGMM(Value(barless), mode).to_text();
    if (shown.size() != (mode == 0 ? 2u : 5u)) return false;
    auto day = part(shown, 0, 2);
    if (mode == 0) return day && *day >= 1 && *day <= 31;
    auto month = part(shown, 3, 2);
    return day && month && exists_in_1996(*day, *month);
}

bool DataNonPrecedente(std::string_view first, std::string_view second, int mode) {
    if (mode != 0 && mode != 1) return false;
    auto from = day_and_month(first, mode);
    auto to = day_and_month(second, mode);
    if (!from || !to) return false;
    if (!exists_in_1996(from->first, from->second) || !exists_in_1996(to->first, to->second)) {
        return false;
    }
    return std::pair{to->second, to->first} >= std::pair{from->second, from->first};
}

}  // namespace condpag
