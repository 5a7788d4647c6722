#pragma once
// Names of the window controls that the checks read and that their verdicts put the focus on.
// The same names serve the editor and the generation window.

#include <string_view>

namespace condpag::ctl {

// Installment: start rule, days, fixed day/month and the fixed-day intervals.
inline constexpr std::string_view CMB_TIPO = "CMB_TIPO";
inline constexpr std::string_view TXT_SOTTOTIPO = "TXT_SOTTOTIPO";
inline constexpr std::string_view CMB_CALENDARIO = "CMB_CALENDARIO";
inline constexpr std::string_view CMB_TIPODECORR = "CMB_TIPODECORR";
inline constexpr std::string_view TXT_GGDECOR = "TXT_GGDECOR";
inline constexpr std::string_view CMB_DATARIF = "CMB_DATARIF";
inline constexpr std::string_view TXT_GGMMFIX = "TXT_GGMMFIX";
inline constexpr std::string_view TXT_DAGGFIX1 = "TXT_DAGGFIX1";
inline constexpr std::string_view TXT_AGGFIX1 = "TXT_AGGFIX1";
inline constexpr std::string_view TXT_GGSCADFIX1 = "TXT_GGSCADFIX1";
inline constexpr std::string_view TXT_DAGGFIX2 = "TXT_DAGGFIX2";
inline constexpr std::string_view TXT_AGGFIX2 = "TXT_AGGFIX2";
inline constexpr std::string_view TXT_GGSCADFIX2 = "TXT_GGSCADFIX2";

// Installment shares and fixed amount.
inline constexpr std::string_view CMB_FLGFRPERCIMP = "CMB_FLGFRPERCIMP";
inline constexpr std::string_view TXT_IMP = "TXT_IMP";
inline constexpr std::string_view TXT_NUMIMP = "TXT_NUMIMP";
inline constexpr std::string_view TXT_DENIMP = "TXT_DENIMP";
inline constexpr std::string_view CMB_FLGFRPERCIVA = "CMB_FLGFRPERCIVA";
inline constexpr std::string_view TXT_IVA = "TXT_IVA";
inline constexpr std::string_view TXT_NUMIVA = "TXT_NUMIVA";
inline constexpr std::string_view TXT_DENIVA = "TXT_DENIVA";
inline constexpr std::string_view CMB_TIPOIMPFIX = "CMB_TIPOIMPFIX";
inline constexpr std::string_view TXT_IMPFIX = "TXT_IMPFIX";

// Totals shown under the installment grid.
inline constexpr std::string_view TXT_TOTIMP = "TXT_TOTIMP";
inline constexpr std::string_view TXT_TOTIVA = "TXT_TOTIVA";

// Header.
inline constexpr std::string_view TXT_CODICE = "TXT_CODICE";
inline constexpr std::string_view TXT_PERCSCART26 = "TXT_PERCSCART26";
inline constexpr std::string_view TXT_SCART26 = "TXT_SCART26";

// Shift period limits.
inline constexpr std::string_view TXT_PERSLITDAGGMM = "TXT_PERSLITDAGGMM";
inline constexpr std::string_view TXT_PERSLITAGGMM = "TXT_PERSLITAGGMM";

// Generation window: number of installments.
inline constexpr std::string_view TXT_NUMERORATE = "TXT_NUMERORATE";

}  // namespace condpag::ctl
