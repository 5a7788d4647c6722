// The subtypes window: enabling by payment type and status, the code box, keyboard flow, grid
// display and the country and foreign-payment lookups.

#include "framework/host.h"
#include "framework/message_service.h"
#include "rules/code_tables.h"
#include "rules/records.h"
#include "windows/FRMCO_SOTTOTIPI.h"
#include "windows/lookup_statements.h"

namespace condpag {

std::string FRMCO_SOTTOTIPI::translate(const std::string& text) const {
    if (host_ == nullptr || host_->ClsGlobal() == nullptr) return text;
    return host_->ClsGlobal()->TranslateString(text);
}

std::string FRMCO_SOTTOTIPI::connection_string() const {
    return owner_ != nullptr ? owner_->OwnerConnectionString() : std::string();
}

std::optional<Value> FRMCO_SOTTOTIPI::first_value(const std::string& statement) {
    if (owner_ == nullptr) return std::nullopt;
    auto result = owner_->OwnerConnection().Execute(statement, 1);
    if (!result || result->rows.empty() || result->rows.front().empty()) return std::nullopt;
    return result->rows.front().front();
}

void FRMCO_SOTTOTIPI::FME_STIPOEFF_AfterAddNew(bool result) {
    condpag::Recordset* rows = FME_STIPOEFF.Recordset();
    if (!result || rows == nullptr) return;
    // A new subtype belongs to the window's payment type, and starts from the columns' defaults.
    for (const auto& [column, value] : default_row(db::CG64_SOTTOTIPO)) {
        if (rows->Field(column).is_null()) rows->SetField(column, value);
    }
    rows->SetField(db::CG64_TIPOEFF, Value(CDecN(CMB_TIPO.text())));
    // The cheque box is off until ticked, also where the type keeps it disabled.
    if (rows->Field(db::CG64_FLGASSEGNO).is_null()) rows->SetField(db::CG64_FLGASSEGNO, Value(0));
}

void FRMCO_SOTTOTIPI::FME_STIPOEFF_ChangeStatus(FrameStatus status, ChangeReason /*reason*/) {
    const double p = CDecN(CMB_TIPO.text());
    TXT_CODICE.enable(status != FrameStatus::View);
    TXT_CODICE.enable2(status != FrameStatus::View);
    CHK_ASSEGNO.enable(p == kEffettoRimessaDiretta);
    CMB_INDMODFATTURAPA.enable(p == kEffettoRimessaDiretta);
    const bool abroad = p == kEffettoBonificoBancario || p == kEffettoRimessaDiretta ||
                        p == kEffettoRicevutaBancaria;
    TXT_CODPAGUC.enable(abroad);
    TXT_STATO.enable(abroad);
}

void FRMCO_SOTTOTIPI::TXT_CODICE_Validate(bool& cancel) {
    if (RTrimN(TXT_CODICE.text()).empty() || CDecN(TXT_CODICE.text()) != 0) {
        // A code that passes takes the key lookup on leaving again.
        TXT_CODICE.set_valid(true);
        return;
    }
    TXT_CODICE.set_valid(false);
    cancel = true;
    if (owner_ != nullptr) {
        owner_->ShowMessage(std::string(kCodiceZero), kStyleExclamation, "Attenzione");
    }
}

void FRMCO_SOTTOTIPI::TXT_CODICE_Leave() {
    if (!RTrimN(TXT_CODICE.text()).empty() && TXT_CODICE.valid()) {
        FME_STIPOEFF.CheckKey(true, true);
    }
}

void FRMCO_SOTTOTIPI::TXT_DESCRIZIONE_KeyDown(int& key, int shift) {
    if (key != kKeyEnter || shift != kShiftNone) return;
    GRIDNAV.SelectButton(FME_STIPOEFF.Status() == FrameStatus::Insert ? "Nuovo" : "Conferma");
}

void FRMCO_SOTTOTIPI::GRID_SOTTOTIPI_KeyDown(int& key, int shift) {
    if (key != kKeyEnter || shift != kShiftNone) return;
    if (FME_STIPOEFF.Status() == FrameStatus::Insert) {
        TXT_CODICE.SetTextFocus();
    } else {
        TXT_DESCRIZIONE.SetTextFocus();
    }
}

void FRMCO_SOTTOTIPI::GRIDNAV_AfterButtonClick(bool success, const std::string& key) {
    if (!success) return;
    if (key == "Nuovo") TXT_CODICE.SetTextFocus();
    if (key == "Conferma") GRID_SOTTOTIPI.SetTextFocus();
}

void FRMCO_SOTTOTIPI::GRID_SOTTOTIPI_CellDisplay(const std::string& column, std::string& text) {
    if (column == db::CG64_FLGASSEGNO) {
        if (text == "0") text.clear();
        if (text == "1") text = translate("Si");
    } else if (column == db::CG64_CODICE_CG07) {
        // A country that is no number, or has no row, is shown as it is stored.
        auto statement = country_name_statement(text);
        if (!statement) return;
        if (auto name = first_value(*statement)) text = RTrimN(*name);
    } else if (column == db::CG64_CODPAGUC) {
        if (auto name = first_value(export_payment_name_statement(text))) text = RTrimN(*name);
    }
}

void FRMCO_SOTTOTIPI::TXT_STATO_StartDecode(DecodeRequest& request) {
    auto statement = country_name_statement(TXT_STATO.text());
    // Without a statement the box finds nothing and empties the description.
    if (statement) request.statement = *statement;
    request.targets = {{"CG07_DESCR", &TXT_DESCRSTATO}};
    request.host_text = connection_string();
}

void FRMCO_SOTTOTIPI::TXT_STATO_StartLookup(LookupRequest& request) {
    request.cancel = false;
    request.statement = country_list_statement();
    request.columns = {{"Codice", ""}, {"Descrizione", ""}};
    request.title = "Elenco nazioni";
    request.host_text = connection_string();
    TXT_STATO.set_lookup_name("Lkp_Nazioni");
}

void FRMCO_SOTTOTIPI::TXT_CODPAGUC_StartDecode(DecodeRequest& request) {
    request.statement = export_payment_decode_statement(TXT_STATO.text(), TXT_CODPAGUC.text());
    request.targets = {{"CG6D_DESCRPAG", &TXT_DESCRCODPAGUC}};
    request.host_text = connection_string();
}

void FRMCO_SOTTOTIPI::TXT_CODPAGUC_StartLookup(LookupRequest& request) {
    request.cancel = false;
    request.columns = {{translate("Codice"), ""}, {translate("Descrizione"), ""}};
    request.title = "Elenco pagamenti esteri";
    request.statement = export_payment_list_statement(TXT_STATO.text());
    request.host_text = connection_string();
    TXT_CODPAGUC.set_lookup_name("Lkp_PagamUC");
}

}  // namespace condpag
