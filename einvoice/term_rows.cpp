#include "einvoice/term_rows.h"

#include <algorithm>

#include "rules/records.h"
#include "storage/recordset.h"
#include "storage/statements.h"

namespace condpag {

Expected<std::optional<TermRows>> find_term_rows(Connection& connection, const std::string& code) {
    const std::string trimmed = RTrimN(std::string_view(code));
    auto header = connection.Execute(
        "SELECT CG62_DESCPAG FROM CG62_CONDPAGDES WHERE CG62_CODPAG = ?", 1, {Value(trimmed)});
    if (!header) return header.error();
    if (header->rows.empty()) return std::optional<TermRows>{};
    TermRows term;
    term.description = RTrimN(header->rows.front().front());

    auto installments = read_records(connection, load_installments_statement(trimmed));
    auto periods = read_records(connection, load_periods_statement(trimmed));
    auto subtypes = read_subtypes(connection);
    for (const auto* read : {&installments, &periods, &subtypes}) {
        if (!*read) return read->error();
    }
    term.installments = std::move(*installments);
    term.shift_periods = std::move(*periods);
    term.subtypes = std::move(*subtypes);
    // The statement leaves the order to the database.
    std::stable_sort(term.installments.begin(), term.installments.end(),
                     [](const Record& a, const Record& b) {
                         return CDecN(field(a, db::CG63_PROG)) < CDecN(field(b, db::CG63_PROG));
                     });
    return std::optional<TermRows>(std::move(term));
}

Expected<TermRows> read_term_rows(Connection& connection, const std::string& code) {
    auto found = find_term_rows(connection, code);
    if (!found) return found.error();
    if (!*found) {
        return Error{"Condizione di pagamento " + RTrimN(std::string_view(code)) + " inesistente",
                     {}};
    }
    return std::move(**found);
}

Expected<std::vector<Record>> read_subtypes(Connection& connection) {
    return read_records(connection,
                        "SELECT CG64_TIPOEFF, CG64_CODSTIPOEFF, CG64_GGOFFSET, "
                        "CG64_INDMODFATTURAPA FROM CG64_SOTTOTIPO");
}

}  // namespace condpag
