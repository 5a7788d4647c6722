#include "einvoice/term_rows.h"

#include <algorithm>

#include "rules/records.h"
#include "storage/recordset.h"
#include "storage/statements.h"

namespace condpag {
Expected<TermRows> read_term_rows(Connection& connection, const std::string& code) {
    const std::string trimmed = RTrimN(std::string_view(code));
    auto header = connection.Execute(
        "SELECT CG62_DESCPAG FROM CG62_CONDPAGDES WHERE CG62_CODPAG = ?", 1, {Value(trimmed)});
    if (!header) return header.error();
    if (header->rows.empty()) {
        return Error{"Condizione di pagamento " + trimmed + " inesistente", {}};
    }
    TermRows term;
    term.description = RTrimN(header->rows.front().front());

    auto installments = read_records(connection, load_installments_statement(trimmed));
    auto periods = read_records(connection, load_periods_statement(trimmed));
    auto subtypes = read_records(connection, "SELECT * FROM CG64_SOTTOTIPO");
    for (const auto* read : {&installments, &periods, &subtypes}) {
        if (!*read) return read->error();
    }
    term.installments = std::move(*installments);
    term.shift_periods = std::move(*periods);
    term.subtypes = std::move(*subtypes);
    std::stable_sort(term.installments.begin(), term.installments.end(),
                     [](const Record& a, const Record& b) {
                         return CDecN(field(a, db::CG63_PROG)) < CDecN(field(b, db::CG63_PROG));
                     });
    return term;
}

}  // namespace condpag
