#pragma once
// Code tables of the payment terms: stored value, choice-list label, grid label and, for payment
// types, the code written in the automatic description. Constant tables, in choice-list order.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "rules/value.h"

namespace condpag {

enum class CodeTable {
    TipoEffetto,      // CG63_TIPOEFF, CG64_TIPOEFF
    TipoDecorrenza,   // CG63_INDTIPODECOR
    DataRiferimento,  // CG63_INDDATARIF
    Calendario,       // CG63_INDTIPOCALEND (no grid shows it: its grid labels are empty)
    FormaQuota,       // CG63_FLGFRPERCIMP, CG63_FLGFRPERCIVA
    ImportoFisso,     // CG63_INDIMPFIX
    TipoSlittamento,  // CG65_INDTIPOSLIT
};

// The stored codes that the windows test one by one.
// Payment types (TipoEffetto); the types from credit card to MAV take a subtype.
inline constexpr int kEffettoRicevutaBancaria = 2;
inline constexpr int kEffettoCartaDiCredito = 7;
inline constexpr int kEffettoRimessaDiretta = 13;
inline constexpr int kEffettoBonificoBancario = 14;
inline constexpr int kEffettoMav = 16;
// Start rules (TipoDecorrenza).
inline constexpr int kDecorrenzaGiornoFisso = 2;
inline constexpr int kDecorrenzaDataFissa = 3;
inline constexpr int kDecorrenzaGiornoFissoPerIntervallo = 4;
// Shift types (TipoSlittamento).
inline constexpr int kSlittamentoPrimoGiornoDopoLimite = 1;
inline constexpr int kSlittamentoPrimoGiornoMeseSuccessivo = 2;
inline constexpr int kSlittamentoStessoGiornoMeseSuccessivo = 3;
inline constexpr int kSlittamentoGiornoFisso = 4;

struct CodeEntry {
    int value;
    std::string_view list_label;
    std::string_view grid_label;
    std::string_view description_code;  // payment types only; empty elsewhere
};

// The rows of a table in choice-list order.
std::span<const CodeEntry> code_table(CodeTable table);

// True when a grid shows an unlisted value as its own text, false when it shows it empty.
bool unlisted_shown_unchanged(CodeTable table);

// The table that fills the choice list of that name (CMB_TIPO, CMB_TIPODECORR, ...), if any.
std::optional<CodeTable> table_of_choice_list(std::string_view list_name);

// Grid label of a stored value: the cell text is compared with the decimal text of each stored
// value. Unlisted values give "" or the cell text, as the table says. Not translated here.
std::string EtichettaGriglia(CodeTable table, const Value& value);

// Payment-type code written in the automatic description. Only a right trim is applied, so
// " 13" is not 13; null, empty or unlisted give "".
std::string SiglaTipoEffetto(const Value& tipo);

// One column of a row, as a literal: null stays null; numeric gives the number written back as
// decimal text (null when the value is no number); otherwise the right-trimmed text in single
// quotes, nothing escaped.
Value ValoreCampo(const Record& row, std::string_view column, bool numeric);

}  // namespace condpag
