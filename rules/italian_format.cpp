#include "rules/italian_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "rules/value.h"

namespace condpag {
namespace {

// Typed dates and amounts may come with spaces or tabs around them.
std::string_view typed_text(std::string_view text) { return trimmed(text, TrimSide::Both, " \t"); }

bool all_digits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// The whole part: plain digits, or 1 to 3 digits followed by groups ".ddd". Gives the digits.
bool whole_part(std::string_view text, std::string& digits) {
    if (text.find('.') == std::string_view::npos) {
        digits = std::string(text);
        return all_digits(text);
    }
    std::size_t first = text.find('.');
    if (first == 0 || first > 3 || !all_digits(text.substr(0, first))) return false;
    digits = std::string(text.substr(0, first));
    for (std::size_t at = first; at < text.size(); at += 4) {
        std::string_view group = text.substr(at + 1, 3);
        if (text[at] != '.' || group.size() != 3 || !all_digits(group)) return false;
        digits += group;
    }
    return true;
}

Error refused(std::string_view text) {
    return Error{"Valore non valido: \"" + std::string(text) +
                     "\". Scrivere un numero come 1.234,50 (oppure 1234,50).",
                 {}};
}

bool leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int days_in(int month, int year) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leap(year) ? 29 : kDays[month - 1];
}

bool number_of(std::string_view text, std::size_t min, std::size_t max, int& out) {
    if (text.size() < min || text.size() > max || !all_digits(text)) return false;
    std::from_chars(text.data(), text.data() + text.size(), out);
    return true;
}

}  // namespace

Expected<double> LeggiImporto(std::string_view text) {
    std::string_view body = typed_text(text);
    bool negative = false;
    if (!body.empty() && (body.front() == '-' || body.front() == '+')) {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    std::string whole;
    std::string fraction;
    std::size_t comma = body.find(',');
    if (comma != std::string_view::npos) {
        fraction = std::string(body.substr(comma + 1));
        if (!whole_part(body.substr(0, comma), whole) || !all_digits(fraction)) {
            return refused(text);
        }
    } else if (std::size_t dot = body.find('.');
               dot != std::string_view::npos && body.find('.', dot + 1) == std::string_view::npos) {
        whole = std::string(body.substr(0, dot));
        fraction = std::string(body.substr(dot + 1));
        if (!all_digits(whole) || !all_digits(fraction)) return refused(text);
    } else if (!whole_part(body, whole)) {
        return refused(text);
    }
    std::string plain = whole + (fraction.empty() ? "" : "." + fraction);
    double value = 0;
    auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) return refused(text);
    return negative ? -value : value;
}

std::string FormattaNumero(double number, std::string_view format) {
    const std::size_t point = format.find('.');
    const std::size_t comma = format.find(',');
    const int decimals =
        point == std::string_view::npos ? 0 : static_cast<int>(format.size() - point - 1);
    const bool grouped = comma != std::string_view::npos && comma < point;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, std::fabs(number));
    const std::string_view plain(buffer);
    const std::size_t dot = plain.find('.');
    const std::string_view whole = plain.substr(0, dot);
    std::string text;
    // A value that rounds to zero shows no sign.
    if (number < 0 && plain.find_first_not_of("0.") != std::string_view::npos) text += '-';
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (grouped && i > 0 && (whole.size() - i) % 3 == 0) text += '.';
        text += whole[i];
    }
    if (dot != std::string_view::npos) {
        text += ',';
        text += plain.substr(dot + 1);
    }
    return text;
}

std::string FormattaImporto(double amount) { return FormattaNumero(amount, "#,##0.00"); }

std::string FormattaDecimale(double number) {
    std::string text = decimal_text(number);
    for (char& c : text) {
        if (c == '.') c = ',';
    }
    return text;
}

Expected<Data> LeggiData(std::string_view text) {
    std::string_view body = typed_text(text);
    Data date;
    bool shaped = false;
    if (body.size() == 10 && body[4] == '-' && body[7] == '-') {
        shaped = number_of(body.substr(0, 4), 4, 4, date.anno) &&
                 number_of(body.substr(5, 2), 2, 2, date.mese) &&
                 number_of(body.substr(8, 2), 2, 2, date.giorno);
    } else if (std::size_t first = body.find('/'); first != std::string_view::npos) {
        std::size_t second = body.find('/', first + 1);
        shaped = second != std::string_view::npos &&
                 number_of(body.substr(0, first), 1, 2, date.giorno) &&
                 number_of(body.substr(first + 1, second - first - 1), 1, 2, date.mese) &&
                 number_of(body.substr(second + 1), 4, 4, date.anno);
    }
    if (!shaped || date.mese < 1 || date.mese > 12 || date.giorno < 1 || date.anno < 1 ||
        date.giorno > days_in(date.mese, date.anno)) {
        return Error{"Data non valida: \"" + std::string(text) + "\". Scrivere gg/mm/aaaa.", {}};
    }
    return date;
}

std::string FormattaData(const Data& date) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", date.giorno, date.mese, date.anno);
    return buffer;
}

std::string FormattaDataIso(const Data& date) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.anno, date.mese, date.giorno);
    return buffer;
}

}  // namespace condpag
