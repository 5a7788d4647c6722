#include "storage/statements.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "rules/records.h"

namespace condpag {
namespace {

std::string with_code(const char* before, std::string_view code) {
    return before + quote_doubled(RTrimN(code)) + "'";
}

}  // namespace

std::string quote_doubled(std::string_view code) {
    std::string out;
    out.reserve(code.size());
    for (char c : code) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out;
}

Expected<std::string> digits_only(std::string_view code) {
    const std::string_view digits = trimmed(code);
    if (digits.empty()) return Error{"Un codice numerico è vuoto", std::string(code)};
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return Error{"Un codice numerico può contenere solo cifre: '" + std::string(code) + "'",
                         std::string(code)};
        }
    }
    return std::string(digits);
}

std::string load_installments_statement(std::string_view code) {
    return with_code("SELECT * FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = '", code);
}
std::string load_periods_statement(std::string_view code) {
    return with_code("SELECT * FROM CG65_PAGSLITANAL WHERE CG65_CODPAG_CG62 = '", code);
}
std::string load_languages_statement(std::string_view code) {
    return with_code("SELECT * FROM CG6B_CONDPAGLING WHERE CG6B_CODICE_CG62 = '", code);
}
std::string count_installments_statement(std::string_view code) {
    return with_code("SELECT COUNT(CG63_PROG) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62='", code);
}
std::string delete_periods_statement(std::string_view code) {
    return with_code("DELETE FROM CG65_PAGSLITANAL WHERE CG65_CODPAG_CG62 = '", code);
}
std::string delete_installments_statement(std::string_view code) {
    return with_code("DELETE FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = '", code);
}
std::string delete_languages_statement(std::string_view code) {
    return with_code("DELETE FROM CG6B_CONDPAGLING WHERE CG6B_CODICE_CG62 = '", code);
}

Expected<std::int16_t> ContaRate(Connection& connection, std::string_view code) {
    auto result = connection.Execute(count_installments_statement(code), 1);
    if (!result) return result.error();
    if (result->rows.empty() || result->rows[0].empty()) return std::int16_t{0};
    // A count beyond the 16-bit range stays the largest one instead of wrapping round.
    double count = CDecN(result->rows[0][0]);
    return static_cast<std::int16_t>(std::clamp<double>(count, 0, INT16_MAX));
}

std::vector<Error> delete_term_details(Connection& connection, std::string_view code) {
    std::vector<Error> errors;
    for (const std::string& sql :
         {delete_periods_statement(code), delete_installments_statement(code),
          delete_languages_statement(code)}) {
        if (auto done = connection.Execute(sql, -1); !done) errors.push_back(done.error());
    }
    return errors;
}

Expected<BatchReport> link_media(Recordset& header, const Value& media_code) {
    if (header.State() != ObjectState::Open || header.IsEOF() || header.IsBOF()) {
        return Error{"Nessuna condizione di pagamento è corrente", "link media"};
    }
    header.SetField(db::CG62_IDMEDIA_CG99, media_code);
    header.Update();
    return header.UpdateBatch(BatchScope::CurrentRow);
}

}  // namespace condpag
