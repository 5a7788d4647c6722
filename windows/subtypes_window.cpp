// The subtypes window: its controls, load, activation and closing.

#include "framework/choice_lists.h"
#include "framework/host.h"
#include "framework/message_service.h"
#include "rules/records.h"
#include "windows/FRMCO_SOTTOTIPI.h"
#include "windows/lookup_statements.h"

namespace condpag {

const PaymentMode kModiPagamentoFatturaPA[13] = {
    {"", 0},
    {"Contanti", 10},
    {"Assegno", 2},
    {"Assegno circolare", 3},
    {"Contanti presso tesoreria", 1},
    {"Vaglia cambiario", 4},
    {"Bollettino bancario", 5},
    {"Quietanza erario", 6},
    {"Giroconto su conti di contabilità speciale", 7},
    {"Domiciliazione bancaria", 8},
    {"Domiciliazione postale", 9},
    {"Trattenuta su somme già riscosse", 11},
    {"PagoPA", 12},
};

FRMCO_SOTTOTIPI::FRMCO_SOTTOTIPI() : ModalWindow("FRMCO_SOTTOTIPI") { set_up_controls(); }

FRMCO_SOTTOTIPI::~FRMCO_SOTTOTIPI() {
    if (loaded()) Form_Unload();
}

void FRMCO_SOTTOTIPI::set_up_controls() {
    set_caption("Sottotipi effetto");
    // The subtypes are neither handed to a calling program nor printed from here.
    GRIDNAV.ShowButton("Esporta", false);
    GRIDNAV.ShowButton("Stampa", false);
    CMB_TIPO.set_caption("Tipo effetto");
    CMB_TIPO.enable(false);

    TXT_CODICE.set_caption("Codice sottotipo effetto");
    TXT_CODICE.set_numeric(true);
    TXT_CODICE.set_max_length(2);
    TXT_CODICE.set_bound_column(std::string(db::CG64_CODSTIPOEFF));

    TXT_DESCRIZIONE.set_caption("Descrizione sottotipo effetto");
    TXT_DESCRIZIONE.set_max_length(40);
    TXT_DESCRIZIONE.set_bound_column(std::string(db::CG64_DESCSTIPO));

    TXT_GGOFFSET.set_caption("Giorni spostamento scadenza");
    TXT_GGOFFSET.set_numeric(true);
    TXT_GGOFFSET.set_max_length(3);
    TXT_GGOFFSET.set_bound_column(std::string(db::CG64_GGOFFSET));

    CHK_ASSEGNO.set_caption("Assegno");
    CHK_ASSEGNO.set_bound_column(std::string(db::CG64_FLGASSEGNO));

    TXT_STATO.set_caption("Codice stato anagrafica");
    TXT_STATO.set_max_length(4);
    TXT_STATO.set_upper_case(true);
    TXT_STATO.set_bound_column(std::string(db::CG64_CODICE_CG07));
    TXT_DESCRSTATO.set_max_length(40);
    TXT_DESCRSTATO.enable(false);

    TXT_CODPAGUC.set_caption("Pagamento estero");
    TXT_CODPAGUC.set_max_length(3);
    TXT_CODPAGUC.set_upper_case(true);
    TXT_CODPAGUC.set_bound_column(std::string(db::CG64_CODPAGUC));
    TXT_DESCRCODPAGUC.set_max_length(40);
    TXT_DESCRCODPAGUC.enable(false);

    CMB_INDMODFATTURAPA.set_caption("Modalità di pagamento PA");
    CMB_INDMODFATTURAPA.set_bound_column(std::string(db::CG64_INDMODFATTURAPA));
    CMB_INDMODFATTURAPA.enable(false);
}

void FRMCO_SOTTOTIPI::CaricaModFatturaPA() {
    CMB_INDMODFATTURAPA.AutoOpen = false;
    CMB_INDMODFATTURAPA.EraseCombo();
    for (const PaymentMode& mode : kModiPagamentoFatturaPA) {
        CMB_INDMODFATTURAPA.AddItemData(std::string(mode.label), Value(mode.value));
    }
}

void FRMCO_SOTTOTIPI::connect_handlers() {
    FME_STIPOEFF.AfterAddNew.connect([this](bool result) { FME_STIPOEFF_AfterAddNew(result); });
    FME_STIPOEFF.ChangeStatus.connect([this](FrameStatus status, ChangeReason reason) {
        FME_STIPOEFF_ChangeStatus(status, reason);
    });
    TXT_CODICE.Validate.connect([this](bool& cancel) { TXT_CODICE_Validate(cancel); });
    TXT_CODICE.Leave.connect([this] { TXT_CODICE_Leave(); });
    TXT_DESCRIZIONE.KeyDown.connect(
        [this](int& key, int shift) { TXT_DESCRIZIONE_KeyDown(key, shift); });
    GRID_SOTTOTIPI.KeyDown.connect(
        [this](int& key, int shift) { GRID_SOTTOTIPI_KeyDown(key, shift); });
    GRIDNAV.AfterButtonClick.connect(
        [this](bool success, const std::string& key) { GRIDNAV_AfterButtonClick(success, key); });
    GRID_SOTTOTIPI.CellDisplay.connect([this](const std::string& column, std::string& text) {
        GRID_SOTTOTIPI_CellDisplay(column, text);
    });
    TXT_STATO.StartDecode.connect([this](DecodeRequest& r) { TXT_STATO_StartDecode(r); });
    TXT_STATO.StartLookup.connect([this](LookupRequest& r) { TXT_STATO_StartLookup(r); });
    TXT_CODPAGUC.StartDecode.connect([this](DecodeRequest& r) { TXT_CODPAGUC_StartDecode(r); });
    TXT_CODPAGUC.StartLookup.connect([this](LookupRequest& r) { TXT_CODPAGUC_StartLookup(r); });
}

bool FRMCO_SOTTOTIPI::load_failed(const Error& error) {
    MessageService* messages = nullptr;
    if (host_ != nullptr && host_->ClsGlobal() != nullptr) {
        messages = host_->ClsGlobal()->MessageObject();
    }
    if (messages == nullptr) return false;
    std::vector<Error> connection_errors;
    if (owner_ != nullptr) connection_errors = owner_->OwnerConnection().Errors();
    Answer answer = messages->ErrorReport(error, connection_errors, "0_0_0_0", "Prova",
                                          "FRMCO_SOTTOTIPI.Form_Load");
    if (answer != Answer::Ok) return false;
    Close();
    return true;
}

void FRMCO_SOTTOTIPI::define_grid() {
    ColumnLayout& layout = GRID_SOTTOTIPI.layout();
    layout.Setup(host_, nullptr, "", 0);
    layout.AddColumn(std::string(db::CG64_CODSTIPOEFF), "Codice", 1, 645, true);
    layout.AddColumn(std::string(db::CG64_DESCSTIPO), "Descrizione", 1, 2175, true);
    layout.AddColumn(std::string(db::CG64_GGOFFSET), "gg", 1, 495, true);
    layout.AddColumn(std::string(db::CG64_FLGASSEGNO), "Assegno", 1, 705, true);
    layout.AddColumn(std::string(db::CG64_CODICE_CG07), "Nazione incasso", 1, 1514, true);
    layout.AddColumn(std::string(db::CG64_CODPAGUC), "Pagamento estero", 1, 1514, true);
    layout.Apply();
    GRID_SOTTOTIPI.refresh();
}

void FRMCO_SOTTOTIPI::Form_Load() {
    connect_handlers();
    if (owner_ == nullptr) {
        load_failed({"La finestra dei sottotipi è stata aperta senza la finestra chiamante",
                     "FRMCO_SOTTOTIPI.Form_Load"});
        Close();
        return;
    }

    load_CMB_TIPO(*this);
    CaricaModFatturaPA();
    CMB_TIPO.set_text(payment_type_);

    const std::string statement = subtypes_statement(CDecN(CMB_TIPO.text()));
    if (host_ != nullptr && host_->ClsGlobal() != nullptr) {
        recordset_ = host_->ClsGlobal()->NewRecordset();
    }
    if (Status opened = recordset_.Open(statement, owner_->OwnerConnection(), -1, -1, 1); !opened) {
        if (load_failed(opened.error())) return;
    }

    define_grid();

    FME_STIPOEFF.Setup(host_, owner_->OwnerConnection(), &recordset_, statement,
                       std::string(db::CG64_CODSTIPOEFF), &GRIDNAV, &GRID_SOTTOTIPI);
    FME_STIPOEFF.RecordNoun = "il sottotipo";

    FME_STIPOEFF.BindControl(TXT_CODICE);
    FME_STIPOEFF.BindControl(TXT_DESCRIZIONE);
    FME_STIPOEFF.BindControl(TXT_GGOFFSET);
    FME_STIPOEFF.BindControl(CHK_ASSEGNO);
    FME_STIPOEFF.BindControl(TXT_STATO);
    FME_STIPOEFF.BindControl(TXT_CODPAGUC);
    FME_STIPOEFF.BindControl(CMB_INDMODFATTURAPA);
    FME_STIPOEFF.BindKeyControl(TXT_CODICE);
}

void FRMCO_SOTTOTIPI::Form_Activate() {
    if (host_ != nullptr) {
        if (!activated_) host_frame_before_ = host_->ActiveFrame();
        host_->SetActiveFrame(&FME_STIPOEFF);
    }
    if (activated_) return;
    activated_ = true;
    bool empty = recordset_.State() != ObjectState::Open || recordset_.RecordCount() == 0;
    FME_STIPOEFF.SetStatus(empty ? FrameStatus::Insert : FrameStatus::View);
    if (TXT_CODICE.enabled()) {
        TXT_CODICE.SetTextFocus();
    } else {
        TXT_DESCRIZIONE.SetTextFocus();
    }
    LAYOUT.Start("GRID_SOTTOTIPI");
}

void FRMCO_SOTTOTIPI::Form_QueryUnload(bool& cancel) {
    if (!FME_STIPOEFF.ConfirmRow(true, false, true)) cancel = true;
}

void FRMCO_SOTTOTIPI::Form_Unload() {
    FME_STIPOEFF.End();
    GRIDNAV.SetInterface(nullptr);
    GRIDNAV.SetFrame(nullptr);
    GRID_SOTTOTIPI.set_recordset(nullptr);
    // The host must not keep pointing at a frame that goes away with the window.
    if (host_ != nullptr && host_->ActiveFrame() == &FME_STIPOEFF) {
        give_back_active_frame(*host_, host_frame_before_);
    }
    if (recordset_.State() == ObjectState::Open) recordset_.Close();
    component_ = nullptr;
    host_ = nullptr;
}

void ApriSottotipi(SecondaryWindowOwner& opener, const std::string& payment_type,
                   LookupRunner* lookups, const ModalRunner& run) {
    FRMCO_SOTTOTIPI window;
    window.set_lookup_runner(lookups);
    window.set_owner(&opener);
    window.set_host(opener.OwnerInterface());
    window.set_component(opener.OwnerComponent());
    window.set_payment_type(RTrimN(payment_type));
    if (run) {
        run(window);
    } else {
        run_without_person(window);
    }
}

}  // namespace condpag
