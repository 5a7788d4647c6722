// The record navigator moves through the tabs; the enabling rule opens the tabs, the generation
// button and the tab buttons only when a term is shown or a new one has its code; the grid
// navigators lead to the next sensible field; a code is handed back to a calling program; the
// print component is run through the host.

#include "editor/FRMCO_CONDPAG.h"
#include "framework/host.h"
#include "framework/host_lookups.h"

namespace condpag {

void FRMCO_CONDPAG::EnablingRule() {
    const FrameStatus status = FME_CONDPAGDES.Status();
    if (status == FrameStatus::Search || (status == FrameStatus::Insert && code().empty())) {
        TabCondPag.enable(false);
        CMD_GENERA.enable(false);
        INTERNAV.EnableButton("Indietro", false);
        INTERNAV.EnableButton("Avanti", false);
        return;
    }
    TabCondPag.enable(true);
    CMD_GENERA.enable(!single_installment_);
    const int tab = TabCondPag.tab();
    INTERNAV.EnableButton("Indietro", tab != 0);
    INTERNAV.EnableButton("Avanti", tab != TabCondPag.tab_count() - 1);
}

// The tab strip's Click runs EnablingRule, which sets the tab buttons for the tab reached.
void FRMCO_CONDPAG::NextTab() { TabCondPag.set_tab(TabCondPag.tab() + 1); }

void FRMCO_CONDPAG::PreviousTab() { TabCondPag.set_tab(TabCondPag.tab() - 1); }

void FRMCO_CONDPAG::INTERNAV_Click(const std::string& key) {
    if (key == "Avanti") {
        NextTab();
    } else if (key == "Indietro") {
        PreviousTab();
    } else if (key == "Esporta") {
        EsportaCodice(FME_CONDPAGDES);
    } else if (key == "CMD_STAMPA") {
        InvocaStampa();
    }
}

void FRMCO_CONDPAG::INTERNAV_AfterClick(bool success, const std::string& key) {
    if (unloaded_ || !success || key != "Nuovo") return;
    FME_CONDPAGDES.SetReadOnly(false);
    FME_DETTAGLIO.SetReadOnly(false);
    TXT_CODICE.SetTextFocus();  // already there when the new term's status opened the box
}

void FRMCO_CONDPAG::GRIDNAV_RATE_AfterButtonClick(bool success, const std::string& key) {
    if (!success) return;
    if (key == "Nuovo") CMB_TIPO.SetTextFocus();
    if (key == "Conferma") GRID_CONDPAG.SetTextFocus();
}

void FRMCO_CONDPAG::GRIDNAV_PERIODI_AfterButtonClick(bool success, const std::string& key) {
    if (!success) return;
    if (key == "Nuovo") TXT_PERSLITDAGGMM.SetTextFocus();
    if (key == "Conferma") GRID_PERSLIT.SetTextFocus();
}

void FRMCO_CONDPAG::GRIDNAVL_AfterButtonClick(bool success, const std::string& key) {
    if (!success || unloaded_) return;
    if (key == "Nuovo") {
        TXT_CODLINGUA.SetTextFocus();
    } else if (key == "Conferma") {
        GRID_LINGUA.SetTextFocus();
    } else if (key == "Esporta") {
        EsportaCodice(FME_LINGUA);
    } else if (key == "Stampa") {
        InvocaStampa();
    }
}

void FRMCO_CONDPAG::EsportaCodice(DataFrame& frame) {
    if (!frame.ConfirmRow(true, true, true)) return;
    if (host_ != nullptr) host_->TransferData({Value(code())});
    Form_Unload();
    Close();
}

void FRMCO_CONDPAG::InvocaStampa() {
    const std::string procedure = "InvocaStampa:";
    ClsGlobal* global = host_ != nullptr ? host_->ClsGlobal() : nullptr;
    if (global == nullptr) return;
    // The print component runs under an interface of its own, marked as called.
    std::unique_ptr<Cinterface> printing = global->NewInterface();
    host_->SetIsActive(false);
    global->SetActiveInterface(printing.get());
    printing->SetIsActive(true);
    global->SetSecondInterface(printing.get());
    printing->SetIsCalled(true);
    const Value yes(-1);
    bool go_on = step(procedure, [&] {
        return global->RunProgram("TREVANIX.CLSTREVANIX", {yes, 2, 0, 0, 0, 0, yes, yes});
    });
    // The fresh interface goes with this routine: the host keeps no reference to it. A print
    // the person left keeps the window inactive until it is activated again.
    global->SetActiveInterface(nullptr);
    if (global->SecondInterface() == printing.get()) global->SetSecondInterface(nullptr);
    if (!go_on) return;
    global->SetActiveInterface(host_);
    host_->SetIsActive(true);
}

void FRMCO_CONDPAG::TXT_CODICE_Change() {
    const std::string trimmed = RTrimN(TXT_CODICE.text());
    if (trimmed != TXT_CODICE.text()) TXT_CODICE.set_text(trimmed);
}

void FRMCO_CONDPAG::TXT_CODICE_StartLookup(LookupRequest& request) {
    if (!term_lookup_) return;
    term_lookup_->Prepare();  // a host's service fills its values here; ours has none to fill
    request.statement = term_lookup_->Statement();
    request.columns = term_lookup_->Columns();
    request.title = term_lookup_->Title();
    request.host_text = connection_string_;
    TXT_CODICE.set_lookup_name(term_lookup_->LookupName());
}

}  // namespace condpag
