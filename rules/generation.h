#pragma once
// Generation of a run of alike installments from the values of the generation window: the check
// that guards it and the new rows it appends. The window and the record set are the caller's.

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "rules/editor_view.h"
#include "rules/message_style.h"

namespace condpag {

// The generation window's values, by control name (TXT_NUMERORATE, CMB_TIPO, TXT_GGDECOR, ...).
// A choice list holds the stored code of its selection as text.
struct GenerationRequest : ControlTexts {
    std::map<std::string, std::string, std::less<>> texts;
    std::string text(std::string_view control) const override;
};

// Shown when the check refuses a value, with the information icon and an OK button.
inline constexpr std::string_view kGenerazioneNonCorretta = "Attenzione, rata non corretta";
inline constexpr std::string_view kTitoloGenerazione = "Informazione";
inline constexpr int kStileGenerazione = kStyleOk + kStyleInformation;

// The first control whose value cannot be generated, or "".
std::string ControllaGenerazione(const ControlTexts& request);

// One new installment row: its columns in the order they are written.
using GeneratedRow = std::vector<std::pair<std::string_view, Value>>;

// The count box holds two digits: no run is longer.
inline constexpr int kMaxGeneratedRows = 99;

// The rows that a generation appends after `numbering_base` existing rows, numbered base + i.
// Only start rule 1 steps its days by 30 from row to row. A value that its numeric column
// would refuse (no code selected, a day that is no number) is left out of the row, so the
// column stays unset; every other column is written, null where the box is empty.
std::vector<GeneratedRow> RigheGeneraRate(const ControlTexts& request, std::string_view codice,
                                          int numbering_base);

}  // namespace condpag
