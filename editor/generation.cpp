// The two secondary windows: the generation of a run of installments, after which the term is
// confirmed at once, and the maintenance of the payment-type subtypes.

#include "editor/FRMCO_CONDPAG.h"
#include "rules/records.h"

namespace condpag {

void FRMCO_CONDPAG::CMD_GENERA_Click() {
    if (single_installment_ || secondary_ == nullptr) return;
    if (!secondary_->RunGeneration(*this)) return;
    INTERNAV.ExecuteCommand("Conferma");
    RefreshDescription();
}

void FRMCO_CONDPAG::ApriSottotipi() {
    if (secondary_ != nullptr) secondary_->RunSubtypes(*this, RTrimN(CMB_TIPO.text()));
}

void FRMCO_CONDPAG::TXT_SOTTOTIPO_FunctionKey(const std::string& key_name) {
    if (key_name == "Kgestione") ApriSottotipi();
}

}  // namespace condpag
