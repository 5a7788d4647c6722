#include "rules/description.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory_resource>
#include <vector>

#include "rules/code_tables.h"
#include "rules/day_month.h"
#include "rules/records.h"

// The description is rebuilt for every change of the installment list and for every term a list
// shows, so it is written without heap allocations apart from its result: values are read as
// views or into small buffers on the stack, and the per-installment summaries live in a stack
// arena. The readings below give the same texts as RTrimN, parse_number and
// FrazioneInPercentuale.

namespace condpag {

namespace {

constexpr std::array<std::string_view, 7> kReferenceTokens{"DF", "DB", "DC", "DO",
                                                           "DR", "FM", "DD"};

// The columns the description reads.
enum class Column : std::uint8_t {
    AGGFIX1,
    AGGFIX2,
    DAGGFIX1,
    DAGGFIX2,
    EL1FRIMP,
    EL1FRIVA,
    EL2FRIMP,
    EL2FRIVA,
    FLGFRPERCIMP,
    FLGFRPERCIVA,
    GGDECOR,
    GGMMFIX,
    GGSCADFIX1,
    GGSCADFIX2,
    IMPORFIX,
    INDDATARIF,
    INDIMPFIX,
    INDTIPODECOR,
    PERCIMP,
    PERCIVA,
    TIPOEFF,
};
constexpr std::array<std::string_view, 21> kColumnNames{
    db::CG63_AGGFIX1,      db::CG63_AGGFIX2,      db::CG63_DAGGFIX1, db::CG63_DAGGFIX2,
    db::CG63_EL1FRIMP,     db::CG63_EL1FRIVA,     db::CG63_EL2FRIMP, db::CG63_EL2FRIVA,
    db::CG63_FLGFRPERCIMP, db::CG63_FLGFRPERCIVA, db::CG63_GGDECOR,  db::CG63_GGMMFIX,
    db::CG63_GGSCADFIX1,   db::CG63_GGSCADFIX2,   db::CG63_IMPORFIX, db::CG63_INDDATARIF,
    db::CG63_INDIMPFIX,    db::CG63_INDTIPODECOR, db::CG63_PERCIMP,  db::CG63_PERCIVA,
    db::CG63_TIPOEFF};

constexpr Column column(std::string_view name) {
    for (std::size_t i = 0; i < kColumnNames.size(); ++i) {
        if (kColumnNames[i] == name) return static_cast<Column>(i);
    }
    throw "not a column of the description";
}

// A record is read in one walk over its names; each name finds its column through a small
// table keyed by its length and three of its letters, with no ordered comparison.
constexpr std::size_t kNameSlots = 64;
constexpr std::size_t name_slot(std::string_view name) {
    return (name.size() + 4 * static_cast<unsigned char>(name[5]) +
            static_cast<unsigned char>(name[7]) + static_cast<unsigned char>(name.back())) %
           kNameSlots;
}
constexpr std::array<std::int8_t, kNameSlots> slots_of_names() {
    std::array<std::int8_t, kNameSlots> slots{};
    slots.fill(-1);
    for (std::size_t i = 0; i < kColumnNames.size(); ++i) {
        std::size_t slot = name_slot(kColumnNames[i]);
        if (slots[slot] != -1) throw "two columns share a slot";
        slots[slot] = static_cast<std::int8_t>(i);
    }
    return slots;
}
constexpr std::array<std::int8_t, kNameSlots> kColumnOfSlot = slots_of_names();

// Equality of two names of the same length, 8 to 24 characters, in word-sized pieces.
inline bool same_name(std::string_view a, std::string_view b) {
    auto word = [](std::string_view text, std::size_t at) {
        std::uint64_t w;
        std::memcpy(&w, text.data() + at, sizeof w);
        return w;
    };
    std::size_t n = a.size();
    if (n != b.size() || n < 8 || n > 24) return a == b;
    return word(a, 0) == word(b, 0) && word(a, n - 8) == word(b, n - 8) &&
           (n <= 16 || word(a, 8) == word(b, 8));
}

const Value kNull;

// The columns of one installment; a column the record lacks reads as null.
class Row {
  public:
    const Value& operator[](Column c) const { return *values_[static_cast<std::size_t>(c)]; }

  private:
    friend class RowReader;
    std::array<const Value*, kColumnNames.size()> values_ = [] {
        std::array<const Value*, kColumnNames.size()> all;
        all.fill(&kNull);
        return all;
    }();
};

// The column a name stands for, or -1.
int column_named(std::string_view name) {
    if (name.size() < 8) return -1;
    int column = kColumnOfSlot[name_slot(name)];
    return column >= 0 && same_name(name, kColumnNames[column]) ? column : -1;
}

// The installments of a term hold the same names in the same order, so the names of one are kept
// with their columns: the next installment is only checked name by name against them, and read
// by position. One that differs is resolved name by name and its names are kept instead.
class RowReader {
  public:
    Row read(const Record& record) {
        Row row;
        // Columns read before a name that differs are this record's own: they stay.
        if (follows_layout(record, row)) return row;
        size_ = record.size() <= layout_.size() ? record.size() : 0;
        std::size_t position = 0;
        for (const auto& [name, value] : record) {
            int column = column_named(name);
            if (column >= 0) row.values_[column] = &value;
            if (size_ > 0) layout_[position++] = {&name, column};
        }
        return row;
    }

  private:
    bool follows_layout(const Record& record, Row& row) const {
        if (size_ == 0 || record.size() != size_) return false;
        const Entry* entry = layout_.data();
        for (const auto& [name, value] : record) {
            if (!same_name(name, *entry->name)) return false;
            if (entry->column >= 0) row.values_[entry->column] = &value;
            ++entry;
        }
        return true;
    }

    struct Entry {
        const std::string* name;
        int column;
    };
    // An installment has 25 columns; a record with more is always resolved by name.
    std::array<Entry, 32> layout_{};
    std::size_t size_ = 0;  // 0: no layout kept
};

struct ShareOf {
    Column form, percent, numerator, denominator;
};
constexpr ShareOf share_of(const ShareColumns& c) {
    return {column(c.form), column(c.percent), column(c.numerator), column(c.denominator)};
}
constexpr ShareOf kTaxable = share_of(kTaxableShare);
constexpr ShareOf kVat = share_of(kVatShare);

// A short text built on the stack: a number, a share text.
template <std::size_t N>
struct ShortText {
    std::array<char, N> data{};
    std::size_t size = 0;

    std::string_view view() const { return {data.data(), size}; }
    void append(std::string_view text) {
        std::size_t n = std::min(text.size(), N - size);
        std::copy_n(text.data(), n, data.data() + size);
        size += n;
    }
};
using NumberText = ShortText<32>;

// The readings of a column below are inline: returned from a call, their optionals went through
// memory and each read of an installment's column waited on the store.

// The whole number held by a double below `limit` in size, without a call to the maths library.
inline std::optional<long long> whole_below(double number, double limit) {
    if (!(std::fabs(number) < limit)) return std::nullopt;  // also NaN and infinities
    auto whole = static_cast<long long>(number);
    if (static_cast<double>(whole) != number) return std::nullopt;
    return whole;
}

// Decimal text of a number, as decimal_text writes it.
NumberText decimal(double number) {
    NumberText text;
    char* begin = text.data.data();
    char* end = begin + text.data.size();
    if (auto whole = whole_below(number, 1e15)) {
        text.size = std::to_chars(begin, end, *whole).ptr - begin;
    } else if (auto fixed = std::to_chars(begin, end, number, std::chars_format::fixed);
               fixed.ec == std::errc()) {
        text.size = fixed.ptr - begin;
    } else {
        // Beyond 32 characters in fixed notation (1e31, 1e-31): no payment term holds such a
        // value, and its shortest form is text enough.
        text.size = std::to_chars(begin, end, number).ptr - begin;
    }
    return text;
}

// The column as RTrimN reads it; a number is written into `scratch`.
std::string_view text_of(const Value& value, NumberText& scratch) {
    if (value.is_null()) return {};
    if (value.is_text()) return trimmed(value.text(), TrimSide::Right);
    scratch = decimal(value.number());
    return scratch.view();
}

bool is_blank(const Value& value) {
    return value.is_null() || (value.is_text() && trimmed(value.text(), TrimSide::Right).empty());
}

inline std::optional<double> number_of(const Value& value) {
    if (value.is_number()) return value.number();
    if (value.is_text()) return parse_number(value.text());
    return std::nullopt;
}

// A number column read through its text, as RTrimN and parse_number read it: numbers are
// written in fixed notation, so every finite one reads back; infinities and NaN do not.
inline std::optional<double> number_through_text(const Value& value) {
    if (value.is_text()) return parse_number(value.text());
    if (!value.is_number()) return std::nullopt;
    const double number = value.number() + 0.0;     // the text of -0 reads back as 0
    if (number - number != 0) return std::nullopt;  // inf and NaN
    return number;
}

// The whole number a code column holds, or nullopt when it is empty or no whole number.
inline std::optional<long long> code_of(const Value& value) {
    auto number = number_of(value);
    if (!number) return std::nullopt;
    return whole_below(*number, 1e9 + 1);  // up to 1e9 itself
}

// A number in its general form, up to 15 significant digits, with the given separator.
NumberText general_text(double number, char separator) {
    if (number == 0) number = 0;  // no "-0"
    NumberText text;
    char* begin = text.data.data();
    auto result =
        std::to_chars(begin, begin + text.data.size(), number, std::chars_format::general, 15);
    text.size = result.ptr - begin;
    for (std::size_t i = 0; i < text.size; ++i) {
        if (text.data[i] == '.') text.data[i] = separator;
        if (text.data[i] == 'e') text.data[i] = 'E';
    }
    return text;
}

// A percentage column: empty is 0, "a/b" is a fraction, anything else a number.
std::optional<double> percentage_in(std::string_view text) {
    text = trimmed(text, TrimSide::Right);
    if (text.empty()) return 0.0;
    auto bar = text.find('/');
    if (bar == std::string_view::npos) return parse_number(text);
    auto numerator = parse_number(text.substr(0, bar));
    auto denominator = parse_number(text.substr(bar + 1));
    if (!numerator || !denominator || *denominator == 0) return std::nullopt;
    double result = *numerator * 100 / *denominator;
    if (!std::isfinite(result)) return std::nullopt;
    return result;
}

using ShareText = ShortText<48>;

// The rows of a term mostly repeat their shares: the last one written is kept.
struct ShareMemo {
    double percent = std::nan("");
    ShortText<8> text;
};

// One share cut to 5 characters without rounding, appended to `out`; nothing for a form other
// than 0 and 1; false when the share cannot be computed.
bool append_share(ShareText& out, const Row& row, const ShareOf& c, char separator,
                  ShareMemo& memo) {
    auto form = code_of(row[c.form]);
    double percent = 0;
    if (form == 0) {
        auto numerator = number_through_text(row[c.numerator]);
        auto denominator = number_through_text(row[c.denominator]);
        if (!numerator || !denominator || *denominator == 0) return false;
        percent = *numerator / *denominator * 100;
    } else if (form == 1) {
        const Value& column = row[c.percent];
        auto value = column.is_text()   ? percentage_in(column.text())
                     : column.is_null() ? std::optional<double>(0.0)
                                        : number_through_text(column);
        if (!value) return false;
        percent = *value;
    } else {
        return true;
    }
    if (!std::isfinite(percent)) return false;
    if (percent != memo.percent) {
        memo.percent = percent;
        memo.text = {};
        memo.text.append(general_text(percent, separator).view().substr(0, 5));
    }
    out.append(memo.text.view());
    return true;
}

// The payment type's code as SiglaTipoEffetto gives it, from the constant table.
// The codes are whole numbers, matched through their decimal text: "2" and 2 match, "02" and
// "2.0" do not.
std::string_view type_code(const Value& type) {
    std::optional<double> code;
    if (type.is_number()) {
        code = type.number();
    } else if (type.is_text()) {
        std::string_view text = trimmed(type.text(), TrimSide::Right);
        std::string_view digits = text.starts_with('-') ? text.substr(1) : text;
        bool canonical = !digits.empty() && digits.size() <= 9 &&
                         digits.find_first_not_of("0123456789") == std::string_view::npos &&
                         (digits == "0" ? text.size() == 1 : digits.front() != '0');
        if (canonical) code = parse_number(text);
    }
    if (!code) return {};
    for (const CodeEntry& entry : code_table(CodeTable::TipoEffetto)) {
        if (*code == entry.value) return entry.description_code;
    }
    return {};
}

// What an installment contributes to its group.
struct Summary {
    std::string_view type;
    ShareText shares;
    int reference = 0;
    int start_rule = 0;  // 1..4, 0 for none
    // The columns of the day text: the one of the start rule, or the six of the intervals.
    std::array<const Value*, 6> days{};
    std::size_t group = 0;
};

bool summarise(const Row& row, char separator, std::array<ShareMemo, 2>& memos, Summary& s) {
    auto reference = code_of(row[Column::INDDATARIF]);
    if (!reference || *reference < 0 || *reference > 6) return false;
    s.reference = static_cast<int>(*reference);

    const Value& fixed_handling = row[Column::INDIMPFIX];
    if (is_blank(fixed_handling)) return false;
    if (code_of(fixed_handling) == 1) {
        double amount = number_of(row[Column::IMPORFIX]).value_or(0.0);
        if (amount != 0) {
            s.shares.append(general_text(amount, separator).view());
            s.shares.append("+");
        }
    }
    s.shares.append("(");
    if (!append_share(s.shares, row, kTaxable, separator, memos[0])) return false;
    s.shares.append("%/");
    if (!append_share(s.shares, row, kVat, separator, memos[1])) return false;
    s.shares.append("%)");

    s.type = type_code(row[Column::TIPOEFF]);
    auto rule = code_of(row[Column::INDTIPODECOR]);
    s.start_rule = rule && *rule >= 1 && *rule <= 4 ? static_cast<int>(*rule) : 0;
    switch (s.start_rule) {
        case 1:
            s.days[0] = &row[Column::GGDECOR];
            break;
        case 2:
            s.days[0] = &row[Column::GGSCADFIX1];
            break;
        case 3:
            s.days[0] = &row[Column::GGMMFIX];
            break;
        case 4:
            s.days = {&row[Column::GGSCADFIX1], &row[Column::DAGGFIX1], &row[Column::AGGFIX1],
                      &row[Column::GGSCADFIX2], &row[Column::DAGGFIX2], &row[Column::AGGFIX2]};
            break;
    }
    return true;
}

template <class Text>
void append_column(Text& out, const Value& value) {
    NumberText scratch;
    out += text_of(value, scratch);
}

// A fixed date stored as MMGG shown as GG/MM. Whole non-negative numbers, which is what the
// column holds, are written here; anything else goes through the general conversions.
template <class Text>
void append_fixed_date(Text& out, const Value& stored) {
    if (is_blank(stored)) return;
    std::optional<double> number;
    if (stored.is_text()) {
        number = parse_number(stored.text());
    } else if (stored.number() == std::trunc(stored.number())) {
        number = stored.number();
    }
    double rounded = number ? std::round(*number) : -1;
    if (!(rounded >= 0 && rounded < 1e15)) {
        out += FormattaGGMM(GGMMdaMMGG(stored), 1).to_text();
        return;
    }
    // "815" -> "0815" -> "1508", read again as a number and padded to 4 again: "01/00" for 1.
    NumberText digits;
    NumberText whole = decimal(rounded);
    for (std::size_t pad = whole.size; pad < 4; ++pad) digits.append("0");
    digits.append(whole.view());
    std::string_view d = digits.view();
    NumberText swapped;
    swapped.append(d.substr(2, 2));
    swapped.append(d.substr(0, 2));
    swapped.append(d.substr(4));
    std::string_view significant = swapped.view();
    while (significant.size() > 1 && significant.front() == '0') significant.remove_prefix(1);
    NumberText shown;
    for (std::size_t pad = significant.size(); pad < 4; ++pad) shown.append("0");
    shown.append(significant);
    out += shown.view().substr(0, 2);
    out += '/';
    out += shown.view().substr(2, 2);
}

// The intervals of fixed due days, "[20[1..15], 5[16..31]]"; incomplete intervals are left out.
template <class Text>
void append_intervals(Text& out, const std::array<const Value*, 6>& columns) {
    out += '[';
    bool written = false;
    auto interval = [&](const Value* due, const Value* from, const Value* to) {
        NumberText d_scratch, f_scratch, t_scratch;
        std::string_view d = text_of(*due, d_scratch);
        std::string_view f = text_of(*from, f_scratch);
        std::string_view t = text_of(*to, t_scratch);
        if (d.empty() || f.empty() || t.empty()) return;
        if (written) out += ", ";
        out += d;
        out += '[';
        out += f;
        out += "..";
        out += t;
        out += ']';
        written = true;
    };
    interval(columns[0], columns[1], columns[2]);
    interval(columns[3], columns[4], columns[5]);
    out += ']';
}

// One installment's entry in its group's day list.
template <class Text>
void append_days(Text& out, const Summary& s) {
    switch (s.start_rule) {
        case 1:
            if (std::string_view(out).ends_with("GG-")) out.erase(out.size() - 3, 2);
            append_column(out, *s.days[0]);
            out += "GG-";
            break;
        case 2:
            append_column(out, *s.days[0]);
            out += '-';
            break;
        case 3:
            append_fixed_date(out, *s.days[0]);
            out += '-';
            break;
        case 4:
            append_intervals(out, s.days);
            out += '-';
            break;
    }
}

// Characters, not bytes: a translated token may hold letters outside ASCII. Counting stops past
// `limit`, as a long day list need not be counted whole.
bool fits_in_characters(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return true;
    std::size_t count = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80 && ++count > limit) return false;
    }
    return true;
}

std::string_view first_characters(std::string_view text, std::size_t n) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && count++ == n) {
            return text.substr(0, i);
        }
    }
    return text;
}

struct Group {
    std::size_t first;
    int count;
};

}  // namespace

std::optional<std::string> DescrizioneAutomatica(std::span<const Record> installments,
                                                 const Translate& translate,
                                                 char decimal_separator) {
    if (installments.empty()) return std::string();
    std::array<std::string, 7> tokens;  // short enough to stay inside the strings
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        tokens[i] = translate ? translate(kReferenceTokens[i]) : std::string(kReferenceTokens[i]);
    }

    // A term holds at most 99 installments: they fit the arena, longer lists spill to the heap.
    std::array<std::byte, 16384> arena;
    std::pmr::monotonic_buffer_resource pool(arena.data(), arena.size());
    std::pmr::vector<Summary> summaries(installments.size(), &pool);
    std::pmr::vector<Group> groups(&pool);
    std::array<ShareMemo, 2> memos;
    RowReader reader;
    groups.reserve(installments.size());
    for (std::size_t i = 0; i < installments.size(); ++i) {
        Summary& s = summaries[i];
        if (!summarise(reader.read(installments[i]), decimal_separator, memos, s)) {
            return std::nullopt;
        }
        s.group = groups.size();
        for (std::size_t g = 0; g < groups.size(); ++g) {
            const Summary& first = summaries[groups[g].first];
            if (first.reference == s.reference && first.shares.view() == s.shares.view() &&
                first.type == s.type) {
                s.group = g;
                break;
            }
        }
        if (s.group == groups.size()) groups.push_back(Group{i, 0});
        ++groups[s.group].count;
    }

    std::pmr::string text(&pool);
    text.reserve(256);
    // Past 40 characters the cut text is settled: what is still to come only lengthens it, and
    // the one thing taken back, the "GG" of the entry just written, lies beyond its first 36
    // characters. The rest of the day lists is then not written.
    bool cut = false;
    for (std::size_t g = 0; g < groups.size() && !cut; ++g) {
        const Summary& first = summaries[groups[g].first];
        if (g > 0) text += " + ";
        text += "Num.";
        std::array<char, 16> count;
        text.append(count.data(),
                    std::to_chars(count.data(), count.data() + count.size(), groups[g].count).ptr);
        text += ' ';
        text += first.type;
        text += ' ';
        text += first.shares.view();
        text += ' ';
        for (std::size_t i = groups[g].first; i < summaries.size() && !cut; ++i) {
            if (summaries[i].group != g) continue;
            append_days(text, summaries[i]);
            cut = !fits_in_characters(text, kDescriptionLength);
        }
        text += tokens[first.reference];
        cut = cut || !fits_in_characters(text, kDescriptionLength);
    }

    if (!cut) return std::string(text);
    std::string_view kept = first_characters(text, kDescriptionLength - 4);
    std::string result;
    result.reserve(kept.size() + 4);
    result += kept;
    result += " ...";
    return result;
}

}  // namespace condpag
