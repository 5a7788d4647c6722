// The two secondary windows: the generation of a run of installments, after which the term is
// confirmed at once, and the maintenance of the payment-type subtypes.

#include "editor/FRMCO_CONDPAG.h"
#include "rules/records.h"
#include "windows/FRMCO_GENMULTIPLA.h"
#include "windows/FRMCO_SOTTOTIPI.h"

namespace condpag {

bool ModalSecondaryWindows::RunGeneration(FRMCO_CONDPAG& editor) {
    FRMCO_GENMULTIPLA window;
    window.set_owner(&editor);
    window.set_modal_runner(run_);
    window.set_lookup_runner(editor.lookup_runner());
    if (run_) {
        run_(window);
    } else {
        run_without_person(window);
    }
    return window.result();
}

void ModalSecondaryWindows::RunSubtypes(FRMCO_CONDPAG& editor, const std::string& payment_type) {
    ApriSottotipi(editor, payment_type, editor.lookup_runner(), run_);
}

void FRMCO_CONDPAG::CMD_GENERA_Click() {
    if (single_installment_) return;
    SecondaryWindows& windows = secondary_ != nullptr ? *secondary_ : default_secondary_;
    if (!windows.RunGeneration(*this)) return;
    // The description of the new installments goes into the header row before the term is
    // confirmed, so that it is stored with the header instead of waiting unsaved behind it.
    RefreshDescription();
    INTERNAV.ExecuteCommand("Conferma");
}

void FRMCO_CONDPAG::ApriSottotipi() {
    SecondaryWindows& windows = secondary_ != nullptr ? *secondary_ : default_secondary_;
    windows.RunSubtypes(*this, RTrimN(CMB_TIPO.text()));
}

void FRMCO_CONDPAG::TXT_SOTTOTIPO_FunctionKey(const std::string& key_name) {
    if (key_name == "Kgestione") ApriSottotipi();
}

}  // namespace condpag
