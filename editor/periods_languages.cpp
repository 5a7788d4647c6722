// Shift periods and language descriptions: the owner key of a new row, which fields a stored row
// offers, the shift type's dependencies, validity marks, key checks, the language lookup and the
// keyboard flows of both lists.

#include "editor/FRMCO_CONDPAG.h"
#include "framework/host_lookups.h"
#include "framework/message_service.h"
#include "rules/code_tables.h"
#include "rules/day_month.h"
#include "rules/records.h"

namespace condpag {

void FRMCO_CONDPAG::FME_PERSLIT_AfterAddNew(bool result) {
    if (!result) return;
    const Record defaults = default_row(db::CG65_PAGSLITANAL);
    std::vector<std::pair<std::string_view, Value>> values(defaults.begin(), defaults.end());
    values.emplace_back(db::CG65_CODPAG_CG62, code());
    write_columns(FME_PERSLIT, values, {});
}

void FRMCO_CONDPAG::FME_PERSLIT_ChangeStatus(FrameStatus status, ChangeReason) {
    HeaderFollowsDetail(FME_PERSLIT, status);
    // The limits form the row's key: a stored period keeps them.
    if (status == FrameStatus::View || status == FrameStatus::Search ||
        status == FrameStatus::Insert) {
        bool open = status != FrameStatus::View;
        TXT_PERSLITDAGGMM.enable(open);
        TXT_PERSLITAGGMM.enable(open);
    }
}

namespace {

// A limit left: its mark says whether it is a day/month; a valid one of a new period is looked
// up at once among the stored periods.
void limit_left(EditBox& box, DataFrame& frame) {
    box.set_valid(DataValida(RTrimN(box.text()), 1));
    if (box.valid() && frame.Status() == FrameStatus::Insert) frame.CheckKey(true, true);
}

}  // namespace

void FRMCO_CONDPAG::TXT_PERSLITDAGGMM_LostFocus() { limit_left(TXT_PERSLITDAGGMM, FME_PERSLIT); }
void FRMCO_CONDPAG::TXT_PERSLITAGGMM_LostFocus() { limit_left(TXT_PERSLITAGGMM, FME_PERSLIT); }

void FRMCO_CONDPAG::TXT_PERSLITGGMMSCAD_LostFocus() {
    TXT_PERSLITGGMMSCAD.set_valid(DataValida(RTrimN(TXT_PERSLITGGMMSCAD.text()), 1));
}

void FRMCO_CONDPAG::CMB_TIPOSLIT_Click() {
    const std::string kind = RTrimN(CMB_TIPOSLIT.text());
    if (kind.empty()) return;
    const double type = CDecN(kind);
    if (type == 0 || type == kSlittamentoPrimoGiornoDopoLimite ||
        type == kSlittamentoPrimoGiornoMeseSuccessivo || type == kSlittamentoGiornoFisso) {
        write_columns(FME_PERSLIT, {{db::CG65_GGMMFIXSLIT, Value()}}, {&TXT_PERSLITGGMMSCAD});
    } else if (type == kSlittamentoStessoGiornoMeseSuccessivo) {
        write_columns(FME_PERSLIT, {{db::CG65_GGSLSUCC, Value()}}, {&TXT_PERSLITSLIT});
    }
}

void FRMCO_CONDPAG::CMB_TIPOSLIT_Change(const std::string& shown) {
    // A fixed shift date belongs to this type alone; the days of shift to every other type.
    bool fixed_date =
        !RTrimN(shown).empty() && CDecN(shown) == kSlittamentoStessoGiornoMeseSuccessivo;
    TXT_PERSLITGGMMSCAD.enable(fixed_date);
    TXT_PERSLITGGMMSCAD.enable2(fixed_date);
    TXT_PERSLITSLIT.enable(!fixed_date);
}

void FRMCO_CONDPAG::SuggerisciPeriodo() {
    DoEvents();
    if (focus() != &GRIDNAV_PERIODI) return;
    if (FME_PERSLIT.Status() == FrameStatus::Insert) {
        GRIDNAV_PERIODI.SelectButton("Nuovo");
    } else if (FME_PERSLIT.Status() == FrameStatus::View) {
        GRIDNAV_PERIODI.SelectButton("Conferma");
    }
}

void FRMCO_CONDPAG::TXT_PERSLITGGMMSCAD_KeyDown(int& key, int shift) {
    if ((key == kKeyEnter || key == kKeyTab) && shift == 0) SuggerisciPeriodo();
}

void FRMCO_CONDPAG::TXT_PERSLITSLIT_KeyDown(int& key, int shift) {
    if ((key == kKeyEnter || key == kKeyTab) && shift == 0) SuggerisciPeriodo();
}

void FRMCO_CONDPAG::FME_LINGUA_AfterAddNew(bool result) {
    if (!result) return;
    write_columns(FME_LINGUA, {{db::CG6B_CODICE_CG62, code()}}, {});
}

void FRMCO_CONDPAG::FME_LINGUA_ChangeStatus(FrameStatus status, ChangeReason) {
    HeaderFollowsDetail(FME_LINGUA, status);
    // The language of a stored row is its key: it stays as it is.
    if (status == FrameStatus::View || status == FrameStatus::Insert) {
        bool open = status == FrameStatus::Insert;
        TXT_CODLINGUA.enable(open);
        TXT_CODLINGUA.enable_lookup(open);
    }
}

void FRMCO_CONDPAG::TXT_CODLINGUA_AfterItem() {
    if (FME_LINGUA.Status() == FrameStatus::Insert) FME_LINGUA.CheckKey(true, true);
}

void FRMCO_CONDPAG::TXT_CODLINGUA_StartLookup(LookupRequest& request) {
    if (!language_lookup_) return;
    language_lookup_->Prepare();
    request.statement = language_lookup_->Statement();
    request.columns = language_lookup_->Columns();
    request.title = language_lookup_->Title();
    request.host_text = connection_string_;
    TXT_CODLINGUA.set_lookup_name(language_lookup_->LookupName());
}

void FRMCO_CONDPAG::TXT_CODLINGUA_StartDecode(DecodeRequest& request) {
    if (!language_decode_) {
        // Only before the load has made the service, or after the unload: the error is told
        // through the message routine, and the code is left undecoded.
        ShowMessage(
            "Errore in TXT_CODLINGUA_StartDecode servizio di decodifica delle lingue non "
            "disponibile",
            kStyleStop, caption());
        return;
    }
    request.statement = language_decode_->DecodeStatement(RTrimN(TXT_CODLINGUA.text()));
    request.targets.clear();
    for (const std::string& column : language_decode_->DecodeColumns()) {
        request.targets.push_back({column, request.targets.empty() ? &TXT_DCODLINGUA : nullptr});
    }
    request.host_text = connection_string_;
}

void FRMCO_CONDPAG::TXT_DESCRANALLINGUA_KeyDown(int& key, int) {
    if (key != kKeyEnter) return;
    if (FME_LINGUA.Status() == FrameStatus::View) {
        key = 0;
        DoEvents();
        if (GRIDNAVL.ButtonAvailable("Conferma")) {
            GRIDNAVL.SelectButton("Conferma");
        } else if (GRID_LINGUA.available()) {
            GRID_LINGUA.SetTextFocus();
        }
    } else if (FME_LINGUA.Status() == FrameStatus::Insert) {
        key = 0;
        DoEvents();
        GRIDNAVL.SelectButton("Nuovo");
    }
}

}  // namespace condpag
