#pragma once
// The one value type of the system: null, text or number.
// A null column stays null, an empty text is not a null, and "13" and 13 are the same code.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace condpag {

class Value {
  public:
    Value() = default;  // null
    Value(std::string text) : data_(std::move(text)) {}
    Value(const char* text) : data_(std::string(text)) {}
    Value(std::string_view text) : data_(std::string(text)) {}
    Value(double number) : data_(number) {}
    Value(int number) : data_(static_cast<double>(number)) {}
    Value(long number) : data_(static_cast<double>(number)) {}
    Value(long long number) : data_(static_cast<double>(number)) {}

    bool is_null() const { return std::holds_alternative<std::monostate>(data_); }
    bool is_text() const { return std::holds_alternative<std::string>(data_); }
    bool is_number() const { return std::holds_alternative<double>(data_); }

    // The text as held, or the decimal text of a number ("13", "33.3333"), or "" for null.
    std::string to_text() const;
    // The number as held, or the parsed text; nullopt for null and for text that is no number.
    std::optional<double> to_number() const;

    const std::string& text() const { return std::get<std::string>(data_); }
    double number() const { return std::get<double>(data_); }

    // Same kind and same content; a text "13" and a number 13 are different values here
    // (compare codes with same_code).
    friend bool operator==(const Value&, const Value&) = default;

  private:
    std::variant<std::monostate, std::string, double> data_;
};

// Decimal text of a number: whole numbers without decimals, others in their shortest exact form.
std::string decimal_text(double number);

// Parses a decimal number typed by a user or read from a column: blanks around are allowed,
// the decimal separator may be "." or ",". Anything else gives nullopt.
std::optional<double> parse_number(std::string_view text);
bool is_numeric(std::string_view text);

// The one trim: the text without its trailing blanks, or without those on both sides. A blank is
// a space unless other characters are named.
enum class TrimSide { Right, Both };
std::string_view trimmed(std::string_view text, TrimSide side = TrimSide::Both,
                         std::string_view blanks = " ");

// Null-safe right trim: null or empty gives "", anything else its text without trailing blanks.
std::string RTrimN(const Value& value);
std::string RTrimN(std::string_view text);
inline std::string RTrimN(const std::string& text) { return RTrimN(std::string_view(text)); }
inline std::string RTrimN(const char* text) { return RTrimN(std::string_view(text)); }
// Null-safe decimal: null, empty or non-numeric gives 0, anything else its decimal value.
double CDecN(const Value& value);
double CDecN(std::string_view text);
inline double CDecN(const std::string& text) { return CDecN(std::string_view(text)); }
inline double CDecN(const char* text) { return CDecN(std::string_view(text)); }

// Codes are compared through their decimal text, so 13 and "13" are the same code.
bool same_code(const Value& a, const Value& b);

// One row of a table by column name.
using Record = std::map<std::string, Value, std::less<>>;

// The column of a record, or null when the record lacks it.
const Value& field(const Record& record, std::string_view column);

}  // namespace condpag
