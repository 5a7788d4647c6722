#include "storage/demo_data.h"

namespace condpag {
namespace {

const Value null;

bool is_empty(Connection& connection, const std::string& table) {
    auto result = connection.Execute("SELECT COUNT(*) FROM " + table);
    return result && !result->rows.empty() && CDecN(result->rows[0][0]) == 0;
}

// One installment: the columns a term needs; shares in percent unless a fraction is given.
struct Installment {
    int prog;
    int type;
    Value subtype;
    int start_rule;
    int days;
    int reference;
    double taxable;
    double vat;
    int numerator = 0;  // a fraction numerator/denominator replaces the percentages
    int denominator = 0;
    Value fixed_from = Value(), fixed_to = Value(), fixed_day = Value();
};

const std::vector<std::string> kInstallmentColumns = {
    "CG63_CODPAG_CG62",  "CG63_PROG",     "CG63_TIPOEFF",    "CG63_STIPOEFF",
    "CG63_INDTIPODECOR", "CG63_GGDECOR",  "CG63_INDDATARIF", "CG63_INDTIPOCALEND",
    "CG63_FLGFRPERCIMP", "CG63_PERCIMP",  "CG63_EL1FRIMP",   "CG63_EL2FRIMP",
    "CG63_FLGFRPERCIVA", "CG63_PERCIVA",  "CG63_EL1FRIVA",   "CG63_EL2FRIVA",
    "CG63_INDIMPFIX",    "CG63_IMPORFIX", "CG63_DAGGFIX1",   "CG63_AGGFIX1",
    "CG63_GGSCADFIX1",   "CG63_DAGGFIX2", "CG63_AGGFIX2",    "CG63_GGSCADFIX2",
    "CG63_GGMMFIX"};

std::vector<Value> installment_row(const std::string& code, const Installment& i) {
    bool fraction = i.denominator != 0;
    Value form = fraction ? 0 : 1;
    return {code,
            i.prog,
            i.type,
            i.subtype,
            i.start_rule,
            i.days,
            i.reference,
            0,
            form,
            fraction ? 0.0 : i.taxable,
            i.numerator,
            i.denominator,
            form,
            fraction ? 0.0 : i.vat,
            i.numerator,
            i.denominator,
            0,
            null,
            i.fixed_from,
            i.fixed_to,
            i.fixed_day,
            null,
            null,
            null,
            null};
}

struct Term {
    std::string code;
    std::string description;
    std::string analytic;
    std::vector<Installment> installments;
};

std::vector<Term> demo_terms() {
    // Types: 2 Ri.Ba., 9 contrassegno, 11 RID, 13 rimessa diretta, 14 bonifico, 16 MAV.
    // Reference 0 = invoice date, 5 = invoice date + days then end of month.
    return {
        {"RD",
         "Rimessa diretta vista fattura",
         "Pagamento a vista fattura",
         {{1, 13, null, 1, 0, 0, 100, 100}}},
        {"RD30",
         "Rimessa diretta 30 gg d.f.",
         "Rimessa diretta a 30 giorni data fattura",
         {{1, 13, null, 1, 30, 0, 100, 100}}},
        {"BB30",
         "Bonifico bancario 30 gg d.f.",
         "Bonifico SEPA a 30 giorni data fattura",
         {{1, 14, 1, 1, 30, 0, 100, 100}}},
        {"BB60FM",
         "Bonifico bancario 60 gg d.f.f.m.",
         "Bonifico a 60 giorni fine mese",
         {{1, 14, 1, 1, 60, 5, 100, 100}}},
        {"BB3060",
         "Bonifico bancario 30-60 gg d.f.",
         "Bonifico in due rate a 30 e 60 giorni",
         {{1, 14, 1, 1, 30, 0, 50, 50}, {2, 14, 1, 1, 60, 0, 50, 50}}},
        {"RB30FM",
         "Ri.Ba. 30 gg d.f.f.m.",
         "Ricevuta bancaria a 30 giorni fine mese",
         {{1, 2, 1, 1, 30, 5, 100, 100}}},
        {"RB3060",
         "Ri.Ba. 30-60 gg d.f.f.m.",
         "Ricevute bancarie a 30 e 60 giorni fine mese",
         {{1, 2, 1, 1, 30, 5, 50, 50}, {2, 2, 1, 1, 60, 5, 50, 50}}},
        {"RB369",
         "Ri.Ba. 30-60-90 gg d.f.f.m.",
         "Tre ricevute bancarie a 30, 60 e 90 gg f.m.",
         {{1, 2, 1, 1, 30, 5, 0, 0, 1, 3},
          {2, 2, 1, 1, 60, 5, 0, 0, 1, 3},
          {3, 2, 1, 1, 90, 5, 0, 0, 1, 3}}},
        {"RB60GF",
         "Ri.Ba. 60 gg d.f. scad. giorno 10",
         "Ricevuta bancaria, scadenza al 10",
         {{1, 2, 1, 4, 60, 0, 100, 100, 0, 0, 1, 31, 10}}},
        {"IVARB",
         "IVA a vista, saldo Ri.Ba. 60 gg f.m.",
         "IVA rimessa diretta, imponibile Ri.Ba.",
         {{1, 13, null, 1, 0, 0, 0, 100}, {2, 2, 1, 1, 60, 5, 100, 0}}},
        {"RID30",
         "RID 30 gg d.f.",
         "Addebito diretto a 30 giorni data fattura",
         {{1, 11, null, 1, 30, 0, 100, 100}}},
        {"MAV30",
         "MAV 30 gg d.f.",
         "Pagamento mediante avviso a 30 giorni",
         {{1, 16, null, 1, 30, 0, 100, 100}}},
        {"CTR",
         "Contrassegno alla consegna",
         "Pagamento alla consegna della merce",
         {{1, 9, null, 1, 0, 2, 100, 100}}},
        {"ACC30",
         "Acconto all'ordine, saldo 30 gg",
         "Acconto 30% all'ordine, saldo bonifico",
         {{1, 13, 1, 1, 0, 3, 30, 30}, {2, 14, 1, 1, 30, 0, 70, 70}}},
    };
}

}  // namespace

Status insert_rows(Connection& connection, const std::string& table,
                   const std::vector<std::string>& columns,
                   const std::vector<std::vector<Value>>& rows) {
    std::string sql = "INSERT INTO " + table + " (";
    std::string marks;
    for (size_t c = 0; c < columns.size(); ++c) {
        sql += (c ? ", " : "") + columns[c];
        marks += c ? ", ?" : "?";
    }
    sql += ") VALUES (" + marks + ")";
    for (const auto& row : rows) {
        if (auto done = connection.ExecuteChange(sql, row); !done) return done.error();
    }
    return success();
}

Status insert_demo_data(Connection& connection) {
    struct Fill {
        std::string table;
        std::vector<std::string> columns;
        std::vector<std::vector<Value>> rows;
    };
    std::vector<Fill> fills;

    Fill headers{"CG62_CONDPAGDES",
                 {"CG62_CODPAG", "CG62_DESCPAG", "CG62_DESPAGANAL", "CG62_FLGDESC",
                  "CG62_FLGSTORNOIVA", "CG62_FLGDISGG", "CG62_SCPERMER1", "CG62_SCPERMER2",
                  "CG62_SCPERCAS", "CG62_SCPERCART26", "CG62_SCART26", "CG62_IDMEDIA_CG99"},
                 {}};
    Fill installments{"CG63_CONDPAGDET", kInstallmentColumns, {}};
    for (const Term& term : demo_terms()) {
        double cash_discount = term.code == "RD" ? 2.0 : 0.0;
        headers.rows.push_back({term.code, term.description, term.analytic, 0, 0, 0, 0.0, 0.0,
                                cash_discount, 0.0, 0.0, null});
        for (const Installment& i : term.installments) {
            installments.rows.push_back(installment_row(term.code, i));
        }
    }
    fills.push_back(std::move(headers));
    fills.push_back(std::move(installments));

    // August and December: due dates that fall there move on (to 1 September, to 10 January).
    fills.push_back({"CG65_PAGSLITANAL",
                     {"CG65_CODPAG_CG62", "CG65_DAMMGG", "CG65_AMMGG", "CG65_INDTIPOSLIT",
                      "CG65_GGMMFIXSLIT", "CG65_GGSLSUCC"},
                     {{"RB369", 801, 831, 2, null, 0},
                      {"RB369", 1201, 1231, 3, 110, 0},
                      {"RB30FM", 801, 831, 1, null, 0},
                      {"RB3060", 801, 825, 3, null, 0},
                      {"RB3060", 1215, 1231, 1, null, 10}}});
    fills.push_back({"CG6B_CONDPAGLING",
                     {"CG6B_CODICE_CG62", "CG6B_LINGUA_MG52", "CG6B_DESCR", "CG6B_DESCRANAL"},
                     {{"BB3060", "ENG", "Bank transfer 30-60 days invoice date",
                       "Bank transfer in two installments, 30 and 60 days"},
                      {"BB3060", "DEU", "Überweisung 30-60 Tage ab Rechnung",
                       "Überweisung in zwei Raten, 30 und 60 Tage"},
                      {"RD", "ENG", "Cash on invoice", "Payment on receipt of invoice"}}});
    fills.push_back(
        {"CG64_SOTTOTIPO",
         {"CG64_TIPOEFF", "CG64_CODSTIPOEFF", "CG64_DESCSTIPO", "CG64_GGOFFSET", "CG64_FLGASSEGNO",
          "CG64_CODICE_CG07", "CG64_CODPAGUC", "CG64_INDMODFATTURAPA"},
         {{2, 1, "Ri.Ba. su banca del cliente", 0, 0, "86", "RIB", 0},
          {2, 2, "Ri.Ba. con spese a carico cliente", 5, 0, "86", "RIB", 0},
          {13, 1, "Assegno bancario", 0, 1, null, null, 2},
          {13, 2, "Contanti", 0, 0, null, null, 10},
          {13, 3, "PagoPA", 0, 0, null, null, 12},
          {14, 1, "Bonifico SEPA", 0, 0, "86", "SCT", 0},
          {14, 2, "Bonifico estero extra SEPA", 2, 0, "69", "BON", 0}}});
    fills.push_back({"CG07_TABSTATIEST",
                     {"CG07_CODICE", "CG07_DESCR", "CG07_CODISO", "CG07_FLGSEPA"},
                     {{86, "Italia", "IT", 1},
                      {94, "Germania", "DE", 1},
                      {29, "Francia", "FR", 1},
                      {71, "Svizzera", "CH", 1},
                      {69, "Stati Uniti d'America", "US", 0},
                      {36, "Cina", "CN", null}}});
    fills.push_back({"CG6D_CODPAGEXPMAN",
                     {"CG6D_CODICE", "CG6D_DESCRPAG", "CG6D_CODISO", "CG6D_AREA"},
                     {{"SCT", "SEPA Credit Transfer", null, 1},
                      {"BON", "Bonifico estero", null, 0},
                      {"RIB", "Ricevuta bancaria", "IT", 1},
                      {"ACH", "ACH transfer", "US", 0},
                      {"CHQ", "Assegno estero", null, 9}}});
    fills.push_back({"MG52_LINGUE",
                     {"MG52_CODICE", "MG52_DESCR"},
                     {{"ITA", "Italiano"},
                      {"ENG", "Inglese"},
                      {"DEU", "Tedesco"},
                      {"FRA", "Francese"},
                      {"ESP", "Spagnolo"}}});
    fills.push_back({"CG16_ANAGGEN",
                     {"CG16_CODICE", "CG16_RAGSOANAG"},
                     {{1, "Rossi Mario S.r.l."},
                      {2, "Ferramenta Bianchi S.p.A."},
                      {3, "Tessitura Lombarda S.r.l."},
                      {4, "Officine Meccaniche Verdi S.n.c."},
                      {5, "Müller Maschinenbau GmbH"}}});
    // Customers are type 0, suppliers type 1.
    fills.push_back(
        {"CG44_CLIFOR",
         {"CG44_DITTA_CG18", "CG44_TIPOCF", "CG44_CLIFOR", "CG44_CODICE_CG16", "CG44_CODPAG_CG62"},
         {{1, 0, 1001, 1, "RB369"},
          {1, 0, 1002, 2, "BB30"},
          {1, 1, 2001, 3, "RD30"},
          {1, 1, 2002, 4, "RB3060"},
          {1, 0, 1003, 5, "BB3060"}}});
    fills.push_back({"MG20_CLIFORSCPAG",
                     {"MG20_CODSCAGL", "MG20_DESCR", "MG20_CODPAG_CG62"},
                     {{"SC01", "Arrotondamento clienti Ri.Ba.", "RB369"}}});
    fills.push_back({"DO11_DOCTESTATA",
                     {"DO11_ID", "DO11_DOCUM_MG36", "DO11_NUMDOC", "DO11_DATADOC",
                      "DO11_TIPOCF_CG44", "DO11_CLIFOR_CG44", "DO11_CODPAG_CG62"},
                     {{1, "FTV", 125, "2026-03-15", 0, 1001, "RB369"},
                      {2, "FTA ", 48, "2026-04-02", 1, 2001, "RD30"},
                      {3, "DDT", 310, "2026-04-20", 0, 1002, "CTR"}}});
    fills.push_back({"EC01_MOVEC",
                     {"EC01_ID", "EC01_DITTACF_CG18", "EC01_TIPOCF_CG44", "EC01_CLIFOR_CG44",
                      "EC01_CODPAG_CG62"},
                     {{1, 1, 0, 1002, "BB30"}, {2, 1, 0, 1002, "BB60FM"}}});
    fills.push_back({"EF01_SCADENZE",
                     {"EF01_ID", "EF01_DITTACF_CG18", "EF01_TIPOCF_CG44", "EF01_CLIFOR_CG44",
                      "EF01_CODPAG_CG62", "EF01_DATASCAD", "EF01_IMPORTO"},
                     {{1, 1, 1, 2002, "RB3060", "2026-05-31", 1220.0},
                      {2, 1, 1, 2002, "RB30FM", "2026-06-30", 610.5}}});

    for (const Fill& fill : fills) {
        if (!is_empty(connection, fill.table)) continue;
        if (auto done = insert_rows(connection, fill.table, fill.columns, fill.rows); !done) {
            return done.error();
        }
    }
    return success();
}

}  // namespace condpag
