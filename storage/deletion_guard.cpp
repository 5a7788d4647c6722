#include "storage/deletion_guard.h"

#include "storage/recordset.h"
#include "storage/statements.h"

namespace condpag {
namespace {

const char* const kCrLf = "\r\n";

std::string text_of(const Recordset& set, std::string_view column) {
    return set.Field(column).to_text();
}

// A date column as the user's short date (day/month/year); the time only when not midnight.
std::string date_text(const Value& value) {
    std::string text = value.to_text();
    if (text.size() < 10 || text[4] != '-' || text[7] != '-') return text;
    std::string out = text.substr(8, 2) + "/" + text.substr(5, 2) + "/" + text.substr(0, 4);
    std::string time = text.size() > 11 ? text.substr(11) : "";
    while (!time.empty() && (time.back() == '0' || time.back() == ':' || time.back() == '.')) {
        time.pop_back();
    }
    if (!time.empty()) out.append(" ").append(text, 11, 8);
    return out;
}

bool is_customer(const Value& type) { return CDecN(type) == 0; }

using Message = std::string (*)(const Recordset&, const Translate&);

struct Check {
    std::vector<const char*> pieces;
    Message message;
};

const std::vector<Check>& checks() {
    static const std::vector<Check> all = {
        {{" SELECT TOP 1 MG20_CODSCAGL FROM MG20_CLIFORSCPAG WHERE ", " MG20_CODPAG_CG62 = '"},
         [](const Recordset& set, const Translate&) {
             return std::string(
                        "La condizione di pagamento risulta utilizzata in Scaglioni di "
                        "arrotondamento prezzi e sconti.") +
                    kCrLf + "Controllare il codice scaglione " + text_of(set, "MG20_CODSCAGL");
         }},
        {{" SELECT TOP 1 CG44_TIPOCF, CG44_CLIFOR, CG16_RAGSOANAG FROM CG44_CLIFOR ",
          " INNER JOIN CG16_ANAGGEN", " ON CG44_CODICE_CG16 = CG16_CODICE",
          " WHERE CG44_CODPAG_CG62 = '"},
         [](const Recordset& set, const Translate&) {
             bool customer = is_customer(set.Field("CG44_TIPOCF"));
             return std::string(customer ? "La condizione di pagamento risulta utilizzata in "
                                           "Anagrafica clienti."
                                         : "La condizione di pagamento risulta utilizzata in "
                                           "Anagrafica fornitori.") +
                    kCrLf + (customer ? "Controllare il cliente " : "Controllare il fornitore ") +
                    text_of(set, "CG44_CLIFOR") + " " + text_of(set, "CG16_RAGSOANAG") + ".";
         }},
        {{" SELECT TOP 1 DO11_DOCUM_MG36, DO11_NUMDOC, DO11_DATADOC FROM DO11_DOCTESTATA WHERE ",
          " DO11_CODPAG_CG62 = '"},
         [](const Recordset& set, const Translate&) {
             return std::string("La condizione di pagamento risulta utilizzata nei documenti.") +
                    kCrLf + "Controllare il documento " +
                    std::string(trimmed(text_of(set, "DO11_DOCUM_MG36"))) + " n. " +
                    text_of(set, "DO11_NUMDOC") + " del " + date_text(set.Field("DO11_DATADOC")) +
                    ".";
         }},
        {{" SELECT TOP 1 EC01_TIPOCF_CG44, EC01_CLIFOR_CG44, CG16_RAGSOANAG", " FROM EC01_MOVEC",
          " INNER JOIN CG44_CLIFOR", " ON EC01_DITTACF_CG18 = CG44_DITTA_CG18",
          " AND EC01_TIPOCF_CG44 = CG44_TIPOCF", " AND EC01_CLIFOR_CG44 = CG44_CLIFOR",
          " INNER JOIN CG16_ANAGGEN", " ON CG44_CODICE_CG16 = CG16_CODICE",
          " WHERE EC01_CODPAG_CG62 = '"},
         [](const Recordset& set, const Translate& translate) {
             return translate(
                        "La condizione di pagamento risulta utilizzata in estratti conto "
                        "a partite aperte.") +
                    kCrLf + "Controllare la gestione estratti conto a partite aperte:" + kCrLf +
                    (is_customer(set.Field("EC01_TIPOCF_CG44")) ? "Cliente " : "Fornitore ") +
                    text_of(set, "EC01_CLIFOR_CG44") + " " + text_of(set, "CG16_RAGSOANAG") + ".";
         }},
        {{" SELECT TOP 1 EF01_TIPOCF_CG44, EF01_CLIFOR_CG44, CG16_RAGSOANAG", " FROM EF01_SCADENZE",
          " INNER JOIN CG44_CLIFOR", " ON EF01_DITTACF_CG18 = CG44_DITTA_CG18",
          " AND EF01_TIPOCF_CG44 = CG44_TIPOCF", " AND EF01_CLIFOR_CG44 = CG44_CLIFOR",
          " INNER JOIN CG16_ANAGGEN", " ON CG44_CODICE_CG16 = CG16_CODICE",
          " WHERE EF01_CODPAG_CG62 = '"},
         [](const Recordset& set, const Translate& translate) {
             std::string who =
                 is_customer(set.Field("EF01_TIPOCF_CG44")) ? "Cliente " : "Fornitore ";
             return translate(
                        "La condizione di pagamento risulta utilizzata in portafoglio "
                        "attivo/passivo.") +
                    kCrLf + translate("Controllare la gestione effetti attivi/passivi:") + kCrLf +
                    translate(who + text_of(set, "EF01_CLIFOR_CG44") + " " +
                              text_of(set, "CG16_RAGSOANAG") + ".");
         }},
    };
    return all;
}

}  // namespace

std::vector<std::string> usage_statements(std::string_view code) {
    std::vector<std::string> statements;
    std::string quoted = quote_doubled(RTrimN(code));
    for (const Check& check : checks()) {
        std::string sql;
        for (const char* piece : check.pieces) sql += piece;
        statements.push_back(sql + quoted + "'");
    }
    return statements;
}

UsageVerdict find_usage(Connection& connection, std::string_view code, const Translate& translate) {
    std::vector<std::string> statements = usage_statements(code);
    Recordset usage;
    for (size_t i = 0; i < statements.size(); ++i) {
        if (usage.State() == ObjectState::Open) usage.Close();
        if (auto opened = usage.Open(statements[i], connection, -1, -1, -1); !opened) {
            return {true, "Impossibile verificare se la condizione di pagamento è utilizzata:" +
                              std::string(kCrLf) + opened.error().message};
        }
        if (usage.RecordCount() > 0) {
            usage.MoveFirst();
            return {true, checks()[i].message(usage, translate)};
        }
    }
    return {};
}

namespace {

DeletionOutcome refuse(Connection& connection, std::string message) {
    ignore_error_by_design(connection.RollbackTrans());
    DeletionOutcome outcome;
    outcome.verdict = {true, std::move(message)};
    return outcome;
}

std::string cannot_delete(std::string_view code) {
    return "Impossibile eliminare la condizione di pagamento " + RTrimN(code) + ": ";
}

const char* const kNothingDeleted = " Non è stato eliminato nulla.";

}  // namespace

DeletionOutcome begin_term_deletion(Connection& connection, const Recordset* header,
                                    std::string_view code, const Translate& translate) {
    if (connection.in_transaction()) ignore_error_by_design(connection.RollbackTrans());
    // The guard only reads the host's tables: it runs before the transaction, so that a file's
    // write lock is held for the deletes alone.
    UsageVerdict verdict = find_usage(connection, code, translate);
    if (verdict.refused) return refuse(connection, verdict.message);
    if (auto begun = connection.BeginTrans(); !begun) {
        return refuse(connection,
                      cannot_delete(code) + begun.error().message + "." + kNothingDeleted);
    }
    if (header != nullptr) {
        auto unchanged = header->StillAsRead();
        if (!unchanged) {
            return refuse(connection,
                          cannot_delete(code) + unchanged.error().message + "." + kNothingDeleted);
        }
        if (!*unchanged) {
            return refuse(connection, cannot_delete(code) +
                                          "i dati sono stati modificati da un altro utente. "
                                          "Ricaricarli prima di continuare." +
                                          kNothingDeleted);
        }
    }
    struct Part {
        std::string sql;
        const char* what;
    };
    for (const Part& part :
         {Part{delete_periods_statement(code), "i periodi di slittamento non sono stati eliminati"},
          Part{delete_installments_statement(code), "le rate non sono state eliminate"},
          Part{delete_languages_statement(code),
               "le descrizioni in lingua non sono state eliminate"}}) {
        if (auto done = connection.Execute(part.sql, -1); !done) {
            DeletionOutcome outcome =
                refuse(connection, cannot_delete(code) + part.what + " (" + done.error().message +
                                       ")." + kNothingDeleted);
            outcome.cascade_errors.push_back(done.error());
            return outcome;
        }
    }
    return {};
}

Status end_term_deletion(Connection& connection, bool header_deleted) {
    if (header_deleted) return connection.CommitTrans();
    return connection.RollbackTrans();
}

DeletionOutcome guard_and_delete_details(Connection& connection, std::string_view code,
                                         const Translate& translate) {
    DeletionOutcome outcome = begin_term_deletion(connection, nullptr, code, translate);
    if (outcome.verdict.refused) return outcome;
    if (auto committed = end_term_deletion(connection, true); !committed) {
        outcome.verdict = {true,
                           cannot_delete(code) + committed.error().message + "." + kNothingDeleted};
        outcome.cascade_errors.push_back(committed.error());
    }
    return outcome;
}

}  // namespace condpag
