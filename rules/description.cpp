#include "rules/description.h"

#include <array>
#include <charconv>
#include <cmath>
#include <vector>

#include "rules/code_tables.h"
#include "rules/day_month.h"
#include "rules/records.h"

namespace condpag {

namespace {

constexpr std::array<std::string_view, 7> kReferenceTokens{"DF", "DB", "DC", "DO",
                                                           "DR", "FM", "DD"};

// A number in its general form, up to 15 significant digits, with the given separator.
std::string general_text(double number, char separator) {
    if (number == 0) number = 0;  // no "-0"
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    for (char& c : text) {
        if (c == '.') c = separator;
        if (c == 'e') c = 'E';
    }
    return text;
}

// The whole number a code column holds, or nullopt when it is empty or no whole number.
std::optional<long long> code_of(const Value& value) {
    auto number = value.to_number();
    if (!number || *number != std::trunc(*number) || std::fabs(*number) > 1e9) {
        return std::nullopt;
    }
    return static_cast<long long>(*number);
}

// One share cut to 5 characters without rounding; "" for a form other than 0 and 1; nullopt
// when the share cannot be computed.
std::optional<std::string> share_text(const Record& row, const ShareColumns& c, char separator) {
    auto form = code_of(field(row, c.form));
    double percent = 0;
    if (form == 0) {
        auto numerator = parse_number(RTrimN(field(row, c.numerator)));
        auto denominator = parse_number(RTrimN(field(row, c.denominator)));
        if (!numerator || !denominator || *denominator == 0) return std::nullopt;
        percent = *numerator / *denominator * 100;
    } else if (form == 1) {
        auto value = FrazioneInPercentuale(RTrimN(field(row, c.percent)));
        if (!value) return std::nullopt;
        percent = *value;
    } else {
        return std::string();
    }
    if (!std::isfinite(percent)) return std::nullopt;
    return general_text(percent, separator).substr(0, 5);
}

// The intervals of fixed due days, "[20[1..15], 5[16..31]]"; incomplete intervals are left out.
std::string interval_text(const Record& row) {
    auto interval = [&](std::string_view due, std::string_view from, std::string_view to) {
        std::string d = RTrimN(field(row, due));
        std::string f = RTrimN(field(row, from));
        std::string t = RTrimN(field(row, to));
        if (d.empty() || f.empty() || t.empty()) return std::string();
        return d + "[" + f + ".." + t + "]";
    };
    std::string first = interval(db::CG63_GGSCADFIX1, db::CG63_DAGGFIX1, db::CG63_AGGFIX1);
    std::string second = interval(db::CG63_GGSCADFIX2, db::CG63_DAGGFIX2, db::CG63_AGGFIX2);
    std::string joined = first;
    if (!first.empty() && !second.empty()) joined += ", ";
    joined += second;
    return "[" + joined + "]";
}

struct Summary {
    std::string type;
    std::string shares;
    int start_rule = 0;  // 1..4, 0 for none
    std::string days;
    std::string reference;
};

std::optional<Summary> summarise(const Record& row,
                                 const std::array<std::string, 7>& reference_tokens,
                                 char separator) {
    Summary s;
    auto reference = code_of(field(row, db::CG63_INDDATARIF));
    if (!reference || *reference < 0 || *reference > 6) return std::nullopt;
    s.reference = reference_tokens[*reference];

    const Value& fixed_handling = field(row, db::CG63_INDIMPFIX);
    if (RTrimN(fixed_handling).empty()) return std::nullopt;
    if (code_of(fixed_handling) == 1) {
        double amount = CDecN(field(row, db::CG63_IMPORFIX));
        if (amount != 0) s.shares = general_text(amount, separator) + "+";
    }
    auto taxable = share_text(row, kTaxableShare, separator);
    auto vat = share_text(row, kVatShare, separator);
    if (!taxable || !vat) return std::nullopt;
    s.shares += "(" + *taxable + "%/" + *vat + "%)";

    s.type = SiglaTipoEffetto(field(row, db::CG63_TIPOEFF));
    auto rule = code_of(field(row, db::CG63_INDTIPODECOR));
    s.start_rule = rule && *rule >= 1 && *rule <= 4 ? static_cast<int>(*rule) : 0;
    switch (s.start_rule) {
        case 1:
            s.days = RTrimN(field(row, db::CG63_GGDECOR));
            break;
        case 2:
            s.days = RTrimN(field(row, db::CG63_GGSCADFIX1));
            break;
        case 3:
            s.days = FormattaGGMM(GGMMdaMMGG(field(row, db::CG63_GGMMFIX)), 1).to_text();
            break;
        case 4:
            s.days = interval_text(row);
            break;
    }
    return s;
}

struct Group {
    const Summary* first;
    int count = 0;
    std::string days;
};

void append_days(std::string& list, const Summary& s) {
    if (s.start_rule == 1) {
        if (list.ends_with("GG-")) list.replace(list.size() - 3, 3, "-");
        list += s.days + "GG-";
    } else if (s.start_rule != 0) {
        list += s.days + "-";
    }
}

// Characters, not bytes: a translated token may hold letters outside ASCII.
std::size_t length_in_characters(const std::string& text) {
    std::size_t count = 0;
    for (unsigned char c : text) count += (c & 0xC0) != 0x80;
    return count;
}

std::string first_characters(const std::string& text, std::size_t n) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && count++ == n) {
            return text.substr(0, i);
        }
    }
    return text;
}

}  // namespace

std::optional<std::string> DescrizioneAutomatica(std::span<const Record> installments,
                                                 const Translate& translate,
                                                 char decimal_separator) {
    if (installments.empty()) return std::string();
    std::array<std::string, 7> tokens;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        tokens[i] = translate ? translate(kReferenceTokens[i]) : std::string(kReferenceTokens[i]);
    }

    std::vector<Summary> summaries;
    summaries.reserve(installments.size());
    for (const Record& row : installments) {
        auto summary = summarise(row, tokens, decimal_separator);
        if (!summary) return std::nullopt;
        summaries.push_back(std::move(*summary));
    }

    std::vector<Group> groups;
    for (const Summary& s : summaries) {
        Group* group = nullptr;
        for (Group& g : groups) {
            if (g.first->reference == s.reference && g.first->shares == s.shares &&
                g.first->type == s.type) {
                group = &g;
                break;
            }
        }
        if (!group) group = &groups.emplace_back(Group{&s, 0, {}});
        ++group->count;
        append_days(group->days, s);
    }

    std::string text;
    for (const Group& g : groups) {
        if (!text.empty()) text += " + ";
        text += "Num." + std::to_string(g.count) + " " + g.first->type + " " + g.first->shares +
                " " + g.days + g.first->reference;
    }
    if (length_in_characters(text) > kDescriptionLength) {
        text = first_characters(text, kDescriptionLength - 4) + " ...";
    }
    return text;
}

}  // namespace condpag
