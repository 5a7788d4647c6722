#include "rules/code_tables.h"

#include <array>

namespace condpag {

namespace {

constexpr std::array<CodeEntry, 17> kTipoEffetto{{
    {1, "Contanti", "Con", "Con"},
    {2, "Ricevuta Bancaria", "Rb", "Rb"},
    {3, "Tratta", "Tr", "Tr"},
    {4, "Tratta Accettata", "TrA", "TrA"},
    {5, "Cessione", "Ces", "Cess"},
    {6, "Cambiale", "Cam", "Cam"},
    {7, "Carta di credito", "CCr", "CCr"},
    {8, "Bancomat", "Ban", "Ban"},
    {9, "Contrassegno", "Ctr", "Ctr"},
    {10, "Lettera di credito", "Lcr", "Lcr"},
    {11, "RID", "RID", "RID"},
    {12, "Leasing", "Lea", "Lea"},
    {13, "Rimessa diretta", "Rd", "Rd"},
    {14, "Bonifico Bancario", "BBa", "BBa"},
    {15, "C/C Postale", "CCP", "CCP"},
    {16, "MAV", "MAV", "MAV"},
    {99, "Solo descrittivo", "Des", "Des"},
}};

constexpr std::array<CodeEntry, 4> kTipoDecorrenza{{
    {1, "Mese commerciale / civile", "Mese commerc.", ""},
    {2, "Giorno fisso", "Giorno fisso", ""},
    {3, "Data fissa", "Data fissa", ""},
    {4, "Giorno fisso per int. di gg", "GG fix x int.", ""},
}};

constexpr std::array<CodeEntry, 7> kDataRiferimento{{
    {0, "Data fattura", "Data Fattura", ""},
    {1, "Data bolla", "Data Bolla", ""},
    {2, "Data consegna", "Data Consegna", ""},
    {3, "Data ordine", "Data Ordine", ""},
    {4, "Data a richiesta", "Data a richiesta", ""},
    {5, "Data fattura (+GG |-> fine mese)", "Fine Mese", ""},
    {6, "Data fattura (|-> fine mese + GG)", "Da rich. nel doc.", ""},
}};

constexpr std::array<CodeEntry, 2> kCalendario{{
    {0, "Commerciale", "", ""},
    {1, "Civile", "", ""},
}};

constexpr std::array<CodeEntry, 2> kFormaQuota{{
    {0, "Frazione", "Frazione", ""},
    {1, "Percentuale", "Percentuale", ""},
}};

constexpr std::array<CodeEntry, 3> kImportoFisso{{
    {0, "Non gestito", "Non gestito", ""},
    {1, "Da condizione di pagamento", "Da condizione di pag.", ""},
    {2, "Rich . nel doc. d'origine", "Da richiedere sul doc.", ""},
}};

constexpr std::array<CodeEntry, 5> kTipoSlittamento{{
    {1, "1° giorno dopo limite superiore", "1° giorno dopo limite superiore", ""},
    {2, "1° giorno mese successivo", "1° giorno dopo mese successivo", ""},
    {3, "stesso giorno scadenza al mese successivo", "Stesso giorno scadenza al mese successivo",
     ""},
    {4, "giorno fisso", "Giorno fisso", ""},
    {5, "Somma alla rata del mese successivo",
     "Somma alla rata succ. altrimenti utilizza il tipo 3", ""},
}};

const CodeEntry* find_by_text(CodeTable table, std::string_view text) {
    for (const CodeEntry& entry : code_table(table)) {
        if (text == decimal_text(entry.value)) return &entry;
    }
    return nullptr;
}

}  // namespace

std::span<const CodeEntry> code_table(CodeTable table) {
    switch (table) {
        case CodeTable::TipoEffetto:
            return kTipoEffetto;
        case CodeTable::TipoDecorrenza:
            return kTipoDecorrenza;
        case CodeTable::DataRiferimento:
            return kDataRiferimento;
        case CodeTable::Calendario:
            return kCalendario;
        case CodeTable::FormaQuota:
            return kFormaQuota;
        case CodeTable::ImportoFisso:
            return kImportoFisso;
        case CodeTable::TipoSlittamento:
            return kTipoSlittamento;
    }
    return {};
}

bool unlisted_shown_unchanged(CodeTable table) {
    return table == CodeTable::ImportoFisso || table == CodeTable::TipoSlittamento;
}

std::optional<CodeTable> table_of_choice_list(std::string_view list_name) {
    if (list_name == "CMB_TIPO") return CodeTable::TipoEffetto;
    if (list_name == "CMB_TIPODECORR") return CodeTable::TipoDecorrenza;
    if (list_name == "CMB_CALENDARIO") return CodeTable::Calendario;
    if (list_name == "CMB_DATARIF") return CodeTable::DataRiferimento;
    if (list_name == "CMB_FLGFRPERCIMP" || list_name == "CMB_FLGFRPERCIVA") {
        return CodeTable::FormaQuota;
    }
    if (list_name == "CMB_TIPOIMPFIX") return CodeTable::ImportoFisso;
    if (list_name == "CMB_TIPOSLIT") return CodeTable::TipoSlittamento;
    return std::nullopt;
}

std::string EtichettaGriglia(CodeTable table, const Value& value) {
    const std::string text = RTrimN(value);  // a code read from a fixed-width column: "5 "
    if (const CodeEntry* entry = find_by_text(table, text)) return std::string(entry->grid_label);
    return unlisted_shown_unchanged(table) ? text : std::string();
}

std::string SiglaTipoEffetto(const Value& tipo) {
    const std::string text = RTrimN(tipo);
    if (text.empty()) return {};
    const CodeEntry* entry = find_by_text(CodeTable::TipoEffetto, text);
    return entry ? std::string(entry->description_code) : std::string();
}

Value ValoreCampo(const Record& row, std::string_view column, bool numeric) {
    const Value& value = field(row, column);
    if (value.is_null()) return {};
    if (numeric) {
        auto number = value.to_number();
        if (!number) return {};
        return Value(decimal_text(*number));
    }
    // Named first: `"'" + RTrimN(value)` inserts the literal in front of a temporary, which
    // g++ 12 at -O3 wrongly reports as an overlapping copy (-Wrestrict, GCC bug 105651).
    const std::string text = RTrimN(value);
    return Value("'" + text + "'");
}

}  // namespace condpag
