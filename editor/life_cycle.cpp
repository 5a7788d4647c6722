// Load, activation, closing and unload of the editor; the header's status changes; the message
// routine and the error dialog through which the window speaks to the user.

#include <iostream>

#include "editor/FRMCO_CONDPAG.h"
#include "framework/choice_lists.h"
#include "framework/host.h"
#include "framework/host_lookups.h"
#include "framework/lookup_runner.h"
#include "framework/message_service.h"
#include "rules/profile.h"
#include "rules/records.h"
#include "storage/statements.h"

namespace condpag {
namespace {

constexpr const char* kApplicationTitle = "Condizioni di pagamento";
constexpr int kDesignWidth = 11820;
constexpr int kDesignHeight = 7035;
constexpr int kErrorDialogStyle =
    kStyleAbortRetryIgnore | kStyleStop | kStyleDefaultButton2 | kStyleSystemModal;

enum class BoxKind { Text, Code, Number };  // codes are typed in capitals

void configure_box(EditBox& box, std::string_view column, int max_length,
                   BoxKind kind = BoxKind::Text) {
    box.set_bound_column(std::string(column));
    box.set_max_length(max_length);
    box.set_upper_case(kind == BoxKind::Code);
    box.set_numeric(kind == BoxKind::Number);
}

}  // namespace

FRMCO_CONDPAG::FRMCO_CONDPAG() : Form("FRMCO_CONDPAG") {
    set_caption("Condizioni di pagamento");
    configure_controls();
    connect_handlers();
}

FRMCO_CONDPAG::~FRMCO_CONDPAG() {
    if (loaded_ && !unloaded_) Form_Unload();
}

void FRMCO_CONDPAG::SetComponent(CLSCO_CONDPAG* component,
                                 std::function<std::string()> codice_pagamento) {
    component_ = component;
    codice_pagamento_ = std::move(codice_pagamento);
}

void FRMCO_CONDPAG::configure_controls() {
    configure_box(TXT_CODICE, db::CG62_CODPAG, 6, BoxKind::Code);
    TXT_CODICE.set_caption("Codice");
    configure_box(TXT_DESCRIZIONE, db::CG62_DESCPAG, 40);
    CHK_DESAUTOM.set_bound_column(std::string(db::CG62_FLGDESC));
    CHK_DESAUTOM.set_caption("Descriz. automatica");
    configure_box(TXT_SC1, db::CG62_SCPERMER1, 6, BoxKind::Number);
    configure_box(TXT_SC2, db::CG62_SCPERMER2, 6, BoxKind::Number);
    configure_box(TXT_SC3, db::CG62_SCPERCAS, 6, BoxKind::Number);
    TXT_SC3.set_caption("Sconto merce 3");
    configure_box(TXT_SCART26, db::CG62_SCART26, 8, BoxKind::Number);
    TXT_SCART26.set_currency("EURO");  // an amount, shown "#,##0.00" as the fixed amount is
    configure_box(TXT_PERCSCART26, db::CG62_SCPERCART26, 6, BoxKind::Number);
    configure_box(TXT_DESCANAL, db::CG62_DESPAGANAL, 80);
    CHK_STORNOIVA.set_bound_column(std::string(db::CG62_FLGSTORNOIVA));
    CHK_STORNOIVA.set_caption("Flag storno IVA");
    CHK_DISABLEGG.set_bound_column(std::string(db::CG62_FLGDISGG));
    CHK_DISABLEGG.set_caption(
        "Non applicare giorni fissi cliente/fornitore - slittamento generale e "
        "cliente/fornitore");

    configure_box(TXT_NUMRATA, db::CG63_PROG, 5, BoxKind::Number);
    TXT_NUMRATA.enable(false);  // computed, never typed
    CMB_TIPO.set_bound_column(std::string(db::CG63_TIPOEFF));
    configure_box(TXT_SOTTOTIPO, db::CG63_STIPOEFF, 2, BoxKind::Number);
    TXT_DECODSTIPO.enable(false);
    CMB_CALENDARIO.set_bound_column(std::string(db::CG63_INDTIPOCALEND));
    CMB_TIPODECORR.set_bound_column(std::string(db::CG63_INDTIPODECOR));
    configure_box(TXT_GGDECOR, db::CG63_GGDECOR, 4, BoxKind::Number);
    CMB_DATARIF.set_bound_column(std::string(db::CG63_INDDATARIF));
    configure_box(TXT_GGMMFIX, db::CG63_GGMMFIX, 5);
    CMB_FLGFRPERCIMP.set_bound_column(std::string(db::CG63_FLGFRPERCIMP));
    configure_box(TXT_IMP, db::CG63_PERCIMP, 8, BoxKind::Number);
    configure_box(TXT_NUMIMP, db::CG63_EL1FRIMP, 2, BoxKind::Number);
    configure_box(TXT_DENIMP, db::CG63_EL2FRIMP, 2, BoxKind::Number);
    CMB_FLGFRPERCIVA.set_bound_column(std::string(db::CG63_FLGFRPERCIVA));
    configure_box(TXT_IVA, db::CG63_PERCIVA, 8, BoxKind::Number);
    configure_box(TXT_NUMIVA, db::CG63_EL1FRIVA, 2, BoxKind::Number);
    configure_box(TXT_DENIVA, db::CG63_EL2FRIVA, 2, BoxKind::Number);
    CMB_TIPOIMPFIX.set_bound_column(std::string(db::CG63_INDIMPFIX));
    configure_box(TXT_IMPFIX, db::CG63_IMPORFIX, 16, BoxKind::Number);
    configure_box(TXT_DAGGFIX1, db::CG63_DAGGFIX1, 2, BoxKind::Number);
    configure_box(TXT_AGGFIX1, db::CG63_AGGFIX1, 2, BoxKind::Number);
    configure_box(TXT_GGSCADFIX1, db::CG63_GGSCADFIX1, 2, BoxKind::Number);
    configure_box(TXT_DAGGFIX2, db::CG63_DAGGFIX2, 2, BoxKind::Number);
    configure_box(TXT_AGGFIX2, db::CG63_AGGFIX2, 2, BoxKind::Number);
    configure_box(TXT_GGSCADFIX2, db::CG63_GGSCADFIX2, 2, BoxKind::Number);
    TXT_TOTIMP.enable(false);
    TXT_TOTIVA.enable(false);

    configure_box(TXT_PERSLITDAGGMM, db::CG65_DAMMGG, 5);
    TXT_PERSLITDAGGMM.set_caption("Limite inferiore");
    configure_box(TXT_PERSLITAGGMM, db::CG65_AMMGG, 5);
    TXT_PERSLITAGGMM.set_caption("Limite superiore");
    CMB_TIPOSLIT.set_bound_column(std::string(db::CG65_INDTIPOSLIT));
    configure_box(TXT_PERSLITGGMMSCAD, db::CG65_GGMMFIXSLIT, 5);
    configure_box(TXT_PERSLITSLIT, db::CG65_GGSLSUCC, 4, BoxKind::Number);

    configure_box(TXT_CODLINGUA, db::CG6B_LINGUA_MG52, 4, BoxKind::Code);
    TXT_CODLINGUA.set_caption("Codice lingua");
    TXT_DCODLINGUA.enable(false);
    configure_box(TXT_DESCRLINGUA, db::CG6B_DESCR, 40);
    configure_box(TXT_DESCRANALLINGUA, db::CG6B_DESCRANAL, 80);
}

void FRMCO_CONDPAG::connect_handlers() {
    // Header.
    FME_CONDPAGDES.ChangeStatus.connect(
        [this](FrameStatus s, ChangeReason r) { FME_CONDPAGDES_ChangeStatus(s, r); });
    FME_CONDPAGDES.AfterAddNew.connect([this](bool r) { FME_CONDPAGDES_AfterAddNew(r); });
    FME_CONDPAGDES.ValidateRecord.connect(
        [this](Control*& c, std::string& m) { FME_CONDPAGDES_ValidateRecord(c, m); });
    FME_CONDPAGDES.BeforeUpdate.connect([this](bool& c) { FME_CONDPAGDES_BeforeUpdate(c); });
    FME_CONDPAGDES.AfterUpdate.connect([this](bool r) { FME_CONDPAGDES_AfterUpdate(r); });
    FME_CONDPAGDES.IsRecordChanged.connect(
        [this](bool& changed) { FME_CONDPAGDES_IsRecordChanged(changed); });
    FME_CONDPAGDES.BeforeDelete.connect([this](bool& c) { FME_CONDPAGDES_BeforeDelete(c); });
    FME_CONDPAGDES.AfterDelete.connect([this](bool r) { FME_CONDPAGDES_AfterDelete(r); });
    TXT_CODICE.AfterItem.connect([this] { TXT_CODICE_AfterItem(); });
    TXT_CODICE.Edited.connect([this] { TXT_CODICE_Change(); });
    TXT_CODICE.StartLookup.connect([this](LookupRequest& r) { TXT_CODICE_StartLookup(r); });
    TXT_SCART26.KeyDown.connect([this](int& k, int s) { TXT_SCART26_KeyDown(k, s); });
    TXT_DESCANAL.KeyDown.connect([this](int& k, int s) { TXT_DESCANAL_KeyDown(k, s); });
    CHK_DESAUTOM.Change.connect([this] { CHK_DESAUTOM_Change(); });
    TabCondPag.Click.connect([this] { TabCondPag_Click(); });

    // Installments.
    FME_DETTAGLIO.BeforeAddNew.connect([this](bool& c) { FME_DETTAGLIO_BeforeAddNew(c); });
    FME_DETTAGLIO.AfterAddNew.connect([this](bool r) { FME_DETTAGLIO_AfterAddNew(r); });
    FME_DETTAGLIO.ValidateRecord.connect(
        [this](Control*& c, std::string& m) { FME_DETTAGLIO_ValidateRecord(c, m); });
    FME_DETTAGLIO.BeforeUpdate.connect([this](bool& c) { FME_DETTAGLIO_BeforeUpdate(c); });
    FME_DETTAGLIO.AfterUpdate.connect([this](bool r) { FME_DETTAGLIO_AfterUpdate(r); });
    FME_DETTAGLIO.AfterDelete.connect([this](bool r) { FME_DETTAGLIO_AfterDelete(r); });
    FME_DETTAGLIO.ChangeStatus.connect(
        [this](FrameStatus s, ChangeReason r) { FME_DETTAGLIO_ChangeStatus(s, r); });
    FME_DETTAGLIO.UpdateBatchAll.connect([this] { FME_DETTAGLIO_UpdateBatchAll(); });
    CMB_TIPODECORR.Pick.connect([this] { CMB_TIPODECORR_Click(); });
    CMB_TIPODECORR.ValueChanged.connect(
        [this](const std::string& code) { CMB_TIPODECORR_Change(code); });
    CMB_FLGFRPERCIMP.Pick.connect([this] { CMB_FLGFRPERCIMP_Click(); });
    CMB_FLGFRPERCIMP.ValueChanged.connect(
        [this](const std::string& code) { CMB_FLGFRPERCIMP_Change(code); });
    CMB_FLGFRPERCIVA.Pick.connect([this] { CMB_FLGFRPERCIVA_Click(); });
    CMB_FLGFRPERCIVA.ValueChanged.connect(
        [this](const std::string& code) { CMB_FLGFRPERCIVA_Change(code); });
    CMB_TIPOIMPFIX.Pick.connect([this] { CMB_TIPOIMPFIX_Click(); });
    CMB_TIPOIMPFIX.ValueChanged.connect(
        [this](const std::string& code) { CMB_TIPOIMPFIX_Change(code); });
    CMB_TIPOIMPFIX.KeyDown.connect([this](int& k, int s) { CMB_TIPOIMPFIX_KeyDown(k, s); });
    CMB_TIPO.Pick.connect([this] { CMB_TIPO_Click(); });
    CMB_TIPO.ValueChanged.connect([this](const std::string& code) { CMB_TIPO_Change(code); });
    TXT_SOTTOTIPO.StartDecode.connect([this](DecodeRequest& r) { TXT_SOTTOTIPO_StartDecode(r); });
    TXT_SOTTOTIPO.StartLookup.connect([this](LookupRequest& r) { TXT_SOTTOTIPO_StartLookup(r); });
    TXT_SOTTOTIPO.FunctionKey.connect(
        [this](const std::string& key) { TXT_SOTTOTIPO_FunctionKey(key); });
    TXT_GGSCADFIX1.Leave.connect([this] { TXT_GGSCADFIX1_LostFocus(); });
    TXT_GGSCADFIX2.Leave.connect([this] { TXT_GGSCADFIX2_LostFocus(); });
    TXT_GGMMFIX.Leave.connect([this] { TXT_GGMMFIX_LostFocus(); });
    TXT_GGSCADFIX2.KeyDown.connect([this](int& k, int s) { TXT_GGSCADFIX2_KeyDown(k, s); });
    TXT_IMPFIX.KeyDown.connect([this](int& k, int s) { TXT_IMPFIX_KeyDown(k, s); });
    GRID_CONDPAG.CellDisplay.connect(
        [this](const std::string& c, std::string& t) { GRID_CONDPAG_CellDisplay(c, t); });
    GRIDNAV_RATE.AfterButtonClick.connect(
        [this](bool ok, const std::string& key) { GRIDNAV_RATE_AfterButtonClick(ok, key); });
    CMD_GENERA.Click.connect([this] { CMD_GENERA_Click(); });

    // Shift periods.
    FME_PERSLIT.AfterAddNew.connect([this](bool r) { FME_PERSLIT_AfterAddNew(r); });
    FME_PERSLIT.ChangeStatus.connect(
        [this](FrameStatus s, ChangeReason r) { FME_PERSLIT_ChangeStatus(s, r); });
    FME_PERSLIT.ValidateRecord.connect(
        [this](Control*& c, std::string& m) { FME_PERSLIT_ValidateRecord(c, m); });
    FME_PERSLIT.UpdateBatchAll.connect([this] { FME_PERSLIT_UpdateBatchAll(); });
    TXT_PERSLITDAGGMM.Leave.connect([this] { TXT_PERSLITDAGGMM_LostFocus(); });
    TXT_PERSLITAGGMM.Leave.connect([this] { TXT_PERSLITAGGMM_LostFocus(); });
    TXT_PERSLITGGMMSCAD.Leave.connect([this] { TXT_PERSLITGGMMSCAD_LostFocus(); });
    CMB_TIPOSLIT.Pick.connect([this] { CMB_TIPOSLIT_Click(); });
    CMB_TIPOSLIT.ValueChanged.connect(
        [this](const std::string& code) { CMB_TIPOSLIT_Change(code); });
    TXT_PERSLITGGMMSCAD.KeyDown.connect(
        [this](int& k, int s) { TXT_PERSLITGGMMSCAD_KeyDown(k, s); });
    TXT_PERSLITSLIT.KeyDown.connect([this](int& k, int s) { TXT_PERSLITSLIT_KeyDown(k, s); });
    GRID_PERSLIT.CellDisplay.connect(
        [this](const std::string& c, std::string& t) { GRID_PERSLIT_CellDisplay(c, t); });
    GRIDNAV_PERIODI.AfterButtonClick.connect(
        [this](bool ok, const std::string& key) { GRIDNAV_PERIODI_AfterButtonClick(ok, key); });

    // Languages.
    FME_LINGUA.AfterAddNew.connect([this](bool r) { FME_LINGUA_AfterAddNew(r); });
    FME_LINGUA.ChangeStatus.connect(
        [this](FrameStatus s, ChangeReason r) { FME_LINGUA_ChangeStatus(s, r); });
    FME_LINGUA.UpdateBatchAll.connect([this] { FME_LINGUA_UpdateBatchAll(); });
    TXT_CODLINGUA.AfterItem.connect([this] { TXT_CODLINGUA_AfterItem(); });
    TXT_CODLINGUA.StartLookup.connect([this](LookupRequest& r) { TXT_CODLINGUA_StartLookup(r); });
    TXT_CODLINGUA.StartDecode.connect([this](DecodeRequest& r) { TXT_CODLINGUA_StartDecode(r); });
    TXT_DESCRANALLINGUA.KeyDown.connect(
        [this](int& k, int s) { TXT_DESCRANALLINGUA_KeyDown(k, s); });
    GRID_LINGUA.KeyDown.connect([this](int& k, int s) { GRID_LINGUA_KeyDown(k, s); });
    GRIDNAVL.AfterButtonClick.connect(
        [this](bool ok, const std::string& key) { GRIDNAVL_AfterButtonClick(ok, key); });

    // Record navigator and layout.
    INTERNAV.Click.connect([this](const std::string& key) { INTERNAV_Click(key); });
    INTERNAV.AfterClick.connect(
        [this](bool ok, const std::string& key) { INTERNAV_AfterClick(ok, key); });
    LAY_CONDPAG.Registration.connect([this] { LAY_CONDPAG_Registration(); });
    LAY_CONDPAG.ResizeQuery.connect([this](bool& allow) { LAY_CONDPAG_ResizeQuery(allow); });
}

bool FRMCO_CONDPAG::step(const std::string& procedure, const std::function<Status()>& run) {
    for (;;) {
        Status done = run();
        if (done) return true;
        ErrorChoice choice = VisualizzaErrore(procedure, done.error());
        if (choice == ErrorChoice::Retry) continue;
        return choice == ErrorChoice::GoOn;
    }
}

std::string FRMCO_CONDPAG::code() const { return RTrimN(TXT_CODICE.text()); }

std::string FRMCO_CONDPAG::translate(const std::string& text) const {
    ClsGlobal* global = host_ != nullptr ? host_->ClsGlobal() : nullptr;
    return global != nullptr ? global->TranslateString(text) : text;
}

void FRMCO_CONDPAG::load_choice_lists() {
    load_CMB_DATARIF(*this);
    load_CMB_FLGFRPERCIMP(*this);
    load_CMB_FLGFRPERCIVA(*this);
    load_CMB_TIPO(*this);
    load_CMB_CALENDARIO(*this);
    load_CMB_TIPODECORR(*this);
    load_CMB_TIPOIMPFIX(*this);
    load_CMB_TIPOSLIT(*this);
}

void FRMCO_CONDPAG::Form_Load() {
    const std::string procedure = "Form_Load";
    ClsGlobal* global = host_ != nullptr ? host_->ClsGlobal() : nullptr;

    // A modal window places itself; a non-modal one is placed by its container.
    if (host_ != nullptr && host_->WindowModal()) MDIActiveX1_Place();
    if (!has_connection_) {
        if (global != nullptr && global->MessageObject() != nullptr) {
            messages_ = global->MessageObject();
        } else {
            own_messages_ = std::make_unique<HeadlessMessageService>();
            messages_ = own_messages_.get();
        }
        messages_->SetInterface(host_);
    }
    bool go_on = step(procedure, [&]() -> Status {
        if (global == nullptr)
            return Error{"Servizi globali dell'applicazione non disponibili", ""};
        connection_string_ = global->ConnectionString();
        return success();
    });
    if (!go_on) return;
    if (!has_connection_) {
        go_on = step(procedure, [&]() -> Status {
            connection_ = global->NewConnection();  // the host's; the headless one is plain
            connection_.ConnectionString = connection_string_;
            Status opened = connection_.Open();
            if (opened) has_connection_ = true;
            return opened;
        });
        if (!go_on) return;
    }
    host_->SetConnection(connection_);
    // The host makes the sets (its own may come configured); the headless host's are plain.
    Grst_RecordSet_CG62 = global->NewRecordset();
    Grst_RecordSet_CG63 = global->NewRecordset();
    Grst_RecordSet_CG65 = global->NewRecordset();
    Grst_RecordSet_CG6B = global->NewRecordset();

    single_installment_ = single_installment_mode(global->InstallationProfile());
    CMD_GENERA.show(!single_installment_);
    load_choice_lists();

    for (Navigator* navigator :
         std::initializer_list<Navigator*>{&GRIDNAV_RATE, &GRIDNAV_PERIODI, &GRIDNAVL, &INTERNAV}) {
        navigator->SetInterface(host_);
    }
    for (auto* format : {&Pobj_GridCondPag_GGMMFIX, &Pobj_GridPerSlit_DAGGMM,
                         &Pobj_GridPerSlit_AGGMM, &Pobj_GridPerSlit_GGMMSCAD}) {
        *format = std::make_unique<StdDataFormat>();
        (*format)->Format.connect([](DataValue& v) { DayMonth_Format(v); });
        (*format)->UnFormat.connect([](DataValue& v) { DayMonth_UnFormat(v); });
    }
    if (lookup_runner() == nullptr) {
        own_lookup_runner_ = std::make_unique<HeadlessLookupRunner>(connection_);
        set_lookup_runner(own_lookup_runner_.get());
    }

    go_on = step(procedure, [&]() -> Status {
        return Grst_RecordSet_CG62.Open(kHeaderStatement, connection_);
    });
    if (!go_on || !setup_frames(procedure)) return;

    language_lookup_ = std::make_unique<TableLookupService>(language_table());
    language_decode_ = std::make_unique<TableLookupService>(language_table());
    term_lookup_ = std::make_unique<TableLookupService>(payment_term_table());
    for (auto* service : {language_lookup_.get(), language_decode_.get(), term_lookup_.get()}) {
        service->SetInterface(host_);
    }

    FME_CONDPAGDES.AddDetail(FME_DETTAGLIO);
    FME_CONDPAGDES.AddDetail(FME_PERSLIT);
    FME_CONDPAGDES.AddDetail(FME_LINGUA);
    for (DataFrame* detail : {&FME_DETTAGLIO, &FME_PERSLIT, &FME_LINGUA}) {
        detail->ReportStatusToHost = false;
    }
    TXT_IMPFIX.set_currency("EURO");
    loaded_ = true;
}

bool FRMCO_CONDPAG::setup_frames(const std::string& procedure) {
    // The detail sets open empty; a set that cannot open is a failed load step like any other.
    auto open_empty = [&](Recordset& set, const std::string& source) {
        return step(procedure, [&] { return set.Open(source, connection_); });
    };
    FME_CONDPAGDES.SetMessageService(messages_);
    FME_CONDPAGDES.Setup(host_, connection_, &Grst_RecordSet_CG62, kHeaderStatement,
                         std::string(db::CG62_DESCPAG), &INTERNAV, nullptr);
    FME_CONDPAGDES.RecordNoun = "la condizione di pagamento";
    for (Control* control : std::initializer_list<Control*>{
             &TXT_CODICE, &CHK_DESAUTOM, &TXT_DESCRIZIONE, &TXT_SC1, &TXT_SC2, &TXT_SC3,
             &TXT_SCART26, &TXT_PERCSCART26, &TXT_DESCANAL, &CHK_STORNOIVA, &CHK_DISABLEGG}) {
        FME_CONDPAGDES.BindControl(*control);
    }
    FME_CONDPAGDES.BindKeyControl(TXT_CODICE);

    source_cg63_ = kInstallmentsEmpty;
    if (!open_empty(Grst_RecordSet_CG63, source_cg63_)) return false;
    DefineInstallmentColumns();
    FME_DETTAGLIO.SetMessageService(messages_);
    FME_DETTAGLIO.Setup(host_, connection_, &Grst_RecordSet_CG63, source_cg63_,
                        std::string(db::CG63_PROG), &GRIDNAV_RATE, &GRID_CONDPAG);
    FME_DETTAGLIO.RecordNoun = "la rata";
    for (Control* control :
         std::initializer_list<Control*>{&TXT_NUMRATA, &CMB_TIPO, &TXT_SOTTOTIPO, &TXT_DECODSTIPO,
                                         &CMB_CALENDARIO, &CMB_TIPODECORR, &CMB_DATARIF}) {
        FME_DETTAGLIO.BindControl(*control);
    }
    FME_DETTAGLIO.BindControl(TXT_GGMMFIX, Pobj_GridCondPag_GGMMFIX.get());
    for (Control* control : std::initializer_list<Control*>{
             &TXT_GGDECOR, &CMB_FLGFRPERCIMP, &TXT_NUMIMP, &TXT_DENIMP, &TXT_IMP, &CMB_FLGFRPERCIVA,
             &TXT_NUMIVA, &TXT_DENIVA, &TXT_IVA, &CMB_TIPOIMPFIX, &TXT_IMPFIX, &TXT_DAGGFIX1,
             &TXT_AGGFIX1, &TXT_GGSCADFIX1, &TXT_DAGGFIX2, &TXT_AGGFIX2, &TXT_GGSCADFIX2}) {
        FME_DETTAGLIO.BindControl(*control);
    }

    source_cg65_ = kPeriodsEmpty;
    if (!open_empty(Grst_RecordSet_CG65, source_cg65_)) return false;
    DefinePeriodColumns();
    FME_PERSLIT.SetMessageService(messages_);
    FME_PERSLIT.Setup(host_, connection_, &Grst_RecordSet_CG65, source_cg65_,
                      std::string(db::CG65_DAMMGG), &GRIDNAV_PERIODI, &GRID_PERSLIT);
    FME_PERSLIT.RecordNoun = " periodo di slittamento";
    FME_PERSLIT.BindControl(TXT_PERSLITDAGGMM, Pobj_GridPerSlit_DAGGMM.get());
    FME_PERSLIT.BindControl(TXT_PERSLITAGGMM, Pobj_GridPerSlit_AGGMM.get());
    FME_PERSLIT.BindControl(CMB_TIPOSLIT);
    FME_PERSLIT.BindControl(TXT_PERSLITGGMMSCAD, Pobj_GridPerSlit_GGMMSCAD.get());
    FME_PERSLIT.BindControl(TXT_PERSLITSLIT);
    FME_PERSLIT.BindKeyControl(TXT_PERSLITDAGGMM);
    FME_PERSLIT.BindKeyControl(TXT_PERSLITAGGMM);

    source_cg6b_ = kLanguagesEmpty;
    if (!open_empty(Grst_RecordSet_CG6B, source_cg6b_)) return false;
    DefineLanguageColumns();
    FME_LINGUA.SetMessageService(messages_);
    FME_LINGUA.Setup(host_, connection_, &Grst_RecordSet_CG6B, source_cg6b_,
                     std::string(db::CG6B_DESCR), &GRIDNAVL, &GRID_LINGUA);
    // The language list neither asks before deleting or leaving a row nor confirms on "Nuovo";
    // a term may have no language at all, so an emptied list keeps no row waiting.
    FME_LINGUA.AskBeforeDelete = false;
    FME_LINGUA.AskToSaveOnMove = false;
    FME_LINGUA.ConfirmOnNew = false;
    FME_LINGUA.WaitForFirstRow = false;
    FME_LINGUA.BindControl(TXT_CODLINGUA);
    FME_LINGUA.BindControl(TXT_DESCRLINGUA);
    FME_LINGUA.BindControl(TXT_DESCRANALLINGUA);
    FME_LINGUA.BindKeyControl(TXT_CODLINGUA);
    return true;
}

void FRMCO_CONDPAG::activate_in_host() {
    if (host_ == nullptr) return;
    if (ClsGlobal* global = host_->ClsGlobal()) {
        global->SetApplication(this);
        global->SetActiveInterface(host_);
    }
    if (HostNavigator* navigator = host_->ActiveNavigator()) {
        DataFrame* active = host_->ActiveFrame();
        navigator->SetStatus(active != nullptr ? active->Status() : FrameStatus::View);
        navigator->Refresh();
    }
}

void FRMCO_CONDPAG::Form_Activate() {
    if (!loaded_ || host_ == nullptr) return;
    host_->SetActiveFrame(&FME_CONDPAGDES);
    activate_in_host();
    if (activated_once_) return;
    activated_once_ = true;

    if (host_->IsCalled()) {
        INTERNAV.SetCalled(true);
        FME_CONDPAGDES.SetStatus(FrameStatus::Insert);
        std::string wanted = RTrimN(codice_pagamento_ ? codice_pagamento_() : std::string());
        if (!wanted.empty()) {
            Grst_RecordSet_CG62.SetField(db::CG62_CODPAG, wanted);
            // As a code typed in the box: the key check shows it, or the existing term; a new
            // term's rows (the one installment already begun in single-installment mode) take it.
            TXT_CODICE_AfterItem();
        }
    } else {
        // A mode of the host's own keeps the frame's status, but the window still takes that
        // status up: a term shown without it would offer its code for editing, and a code typed
        // there would rename the stored term away from its installments.
        FME_CONDPAGDES.SetStatus(
            StartingStatus(host_->ProgramMode()).value_or(FME_CONDPAGDES.Status()));
    }
    INTERNAV.AddButton("CMD_STAMPA", "&Stampa", "Conferma");
    // Only the language navigator exports and prints, and it exports only to a calling program.
    for (GridNavigator* navigator : {&GRIDNAV_RATE, &GRIDNAV_PERIODI}) {
        navigator->ShowButton("Esporta", false);
        navigator->ShowButton("Stampa", false);
    }
    GRIDNAVL.ShowButton("Esporta", host_->IsCalled());
    // An open code box already has the focus from the status change; a term shown starts at
    // the first box it lets the person change.
    if (!TXT_CODICE.enabled()) CHK_DESAUTOM.SetTextFocus();
    LAY_CONDPAG.Start();
    LAY_CONDPAG.Arrange();
    bool vat_reversal = vat_reversal_shown(installation_profile());
    LBL_STORNOIVA.show(vat_reversal);
    CHK_STORNOIVA.show(vat_reversal);
    ExecuteFormEvent("qxOpen");
}

void FRMCO_CONDPAG::FME_CONDPAGDES_ChangeStatus(FrameStatus status, ChangeReason reason) {
    switch (status) {
        case FrameStatus::View:
            FME_CONDPAGDES.SetReadOnly(false);
            FME_DETTAGLIO.SetReadOnly(false);
            if (single_installment_ && ContaRate(code()) > 1) {
                FME_CONDPAGDES.SetReadOnly(true);
                FME_DETTAGLIO.SetReadOnly(true);
            }
            EnablingRule();
            TXT_CODICE.enable(false);
            TXT_CODICE.set_editable(false);  // locked too; disabled, it takes no typing anyway
            // Read again for every reason but a save, also after "Annulla": detail edits undone
            // with the header go with it.
            if (reason != ChangeReason::Saved) LoadDetailsForCode();
            break;
        case FrameStatus::Search:
            EnablingRule();
            OpenDetailsEmpty();
            TXT_CODICE.enable(true);
            TXT_CODICE.set_editable(true);
            TXT_CODICE.SetTextFocus();
            break;
        case FrameStatus::Insert:
            // A new term is never read-only, whichever command began it.
            FME_CONDPAGDES.SetReadOnly(false);
            FME_DETTAGLIO.SetReadOnly(false);
            if (TabCondPag.tab() != kPageRate) {
                TabCondPag.set_tab(kPageRate);  // its click runs the enabling rule
            } else {
                EnablingRule();
            }
            OpenDetailsEmpty();
            // The one installment of a single-installment term waits in insert status, where
            // it is forced to the whole amount ("Nuovo" adds none).
            if (single_installment_) FME_DETTAGLIO.SetStatus(FrameStatus::Insert);
            // A new term shows no totals until its first installment.
            TXT_TOTIMP.set_text("");
            TXT_TOTIVA.set_text("");
            TXT_CODICE.enable(true);
            TXT_CODICE.set_editable(true);
            TXT_CODICE.SetTextFocus();
            break;
        default:
            break;
    }
}

void FRMCO_CONDPAG::FME_CONDPAGDES_AfterAddNew(bool result) {
    if (!result) return;
    // A new term starts from the defaults of its columns.
    Record defaults = default_row(db::CG62_CONDPAGDES);
    defaults.try_emplace(std::string(db::CG62_FLGDISGG), 0);  // every flag starts off
    write_columns(FME_CONDPAGDES, {defaults.begin(), defaults.end()}, {});
    // The totals are emptied by the insert status that follows.
}

void FRMCO_CONDPAG::TXT_CODICE_AfterItem() {
    if (FME_CONDPAGDES.Status() == FrameStatus::Insert) {
        FME_CONDPAGDES.CheckKey(true, true);
        if (FME_CONDPAGDES.Status() == FrameStatus::Insert && !code().empty()) RekeyDetails();
    }
    EnablingRule();
}

void FRMCO_CONDPAG::TabCondPag_Click() {
    EnablingRule();
    switch (TabCondPag.tab()) {
        case kPageRate:
            if (GRID_CONDPAG.enabled()) GRID_CONDPAG.SetTextFocus();
            break;
        case kPageDescrizione:
            if (TXT_DESCANAL.enabled()) TXT_DESCANAL.SetTextFocus();
            break;
        case kPagePeriodi:
            if (TXT_PERSLITDAGGMM.enabled()) {
                TXT_PERSLITDAGGMM.SetTextFocus();
            } else if (CMB_TIPOSLIT.enabled()) {
                CMB_TIPOSLIT.SetTextFocus();
            }
            break;
        case kPageLingue:
            if (FME_LINGUA.Status() == FrameStatus::Insert) {
                if (TXT_CODLINGUA.enabled()) TXT_CODLINGUA.SetTextFocus();
            } else if (GRID_LINGUA.enabled()) {
                GRID_LINGUA.SetTextFocus();
            }
            break;
        default:
            break;
    }
}

void FRMCO_CONDPAG::MDIActiveX1_Place() {
    WindowLeft = host_ != nullptr && host_->Left() != 0 ? host_->Left() : 200;
    WindowTop = host_ != nullptr && host_->Top() != 0 ? host_->Top() : 200;
    WindowWidth = kDesignWidth;
    WindowHeight = kDesignHeight;
}

void FRMCO_CONDPAG::Form_DblClick() {
    ShowMessage(FME_LINGUA.Status() == FrameStatus::Insert ? "Inserimento" : "Modifica",
                kStyleInformation, "");
}

Answer FRMCO_CONDPAG::ShowMessage(const std::string& text, int style, const std::string& title,
                                  const std::string& procedure) {
    std::string shown = text;
    if (!procedure.empty()) shown += "\rFunzione: " + procedure;
    if (messages_ != nullptr) return messages_->ShowMessage(shown, style, title);
    if (host_ == nullptr) {
        // No host at all: the plain message box of a console.
        std::cerr << title << ": " << shown << '\n';
        return Answer::Ok;
    }
    ClsGlobal* global = host_->ClsGlobal();
    if (global != nullptr && global->MessageObject() != nullptr) {
        return global->MessageObject()->ShowMessage(shown, style, title);
    }
    return Answer::None;
}

ErrorChoice FRMCO_CONDPAG::VisualizzaErrore(const std::string& procedure, const Error& error) {
    std::vector<Error> connection_errors;
    if (has_connection_) connection_errors = connection_.Errors();
    if (messages_ == nullptr) {
        ShowMessage(error.message, kStyleStop, caption(), procedure);
        return ErrorChoice::Leave;
    }
    return messages_->ErrorDialog(error, connection_errors, kApplicationTitle, caption(), procedure,
                                  kErrorDialogStyle);
}

Value FRMCO_CONDPAG::ExecuteFormEvent(const std::string& event_name) {
    if (event_name != "qxOpen" && event_name != "qxClose") return Value();
    HostNavigator* navigator = host_ != nullptr ? host_->ActiveNavigator() : nullptr;
    FormEventService* events = navigator != nullptr ? navigator->FormEvents() : nullptr;
    if (events != nullptr)
        events->ExecuteFormEvent(name(), 0, event_name == "qxOpen" ? 1 : 0, name());
    return Value();
}

void FRMCO_CONDPAG::Form_QueryUnload(bool& cancel) {
    if (unloaded_) return;
    activate_in_host();
    cancel = !FME_CONDPAGDES.ConfirmRow(true, false, true);
    if (cancel) return;
    ExecuteFormEvent("qxClose");
    HostNavigator* navigator = host_ != nullptr ? host_->ActiveNavigator() : nullptr;
    FormEventService* events = navigator != nullptr ? navigator->FormEvents() : nullptr;
    if (events != nullptr) cancel = events->CloseVetoed();
}

void FRMCO_CONDPAG::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    HostNavigator* navigator = host_ != nullptr ? host_->ActiveNavigator() : nullptr;
    if (navigator != nullptr) {
        if (navigator->FormEvents() != nullptr && host_->ClsVoceMenu() != nullptr) {
            navigator->FormEvents()->WindowUnloaded(host_->ClsVoceMenu()->Identifier());
        }
        navigator->ClearReferences();
    }
    for (auto* service : {&language_lookup_, &language_decode_, &term_lookup_}) {
        if (*service) (*service)->SetInterface(nullptr);
        service->reset();
    }
    for (DataFrame* frame : {&FME_CONDPAGDES, &FME_DETTAGLIO, &FME_PERSLIT, &FME_LINGUA}) {
        frame->End();
    }
    for (Navigator* navigator_control :
         std::initializer_list<Navigator*>{&GRIDNAV_RATE, &GRIDNAV_PERIODI, &GRIDNAVL, &INTERNAV}) {
        navigator_control->SetInterface(nullptr);
        navigator_control->SetFrame(nullptr);
    }
    for (Recordset* set :
         {&Grst_RecordSet_CG62, &Grst_RecordSet_CG63, &Grst_RecordSet_CG65, &Grst_RecordSet_CG6B}) {
        // Only an open set is closed; nothing reads a set after unload, so no test sees it.
        if (set->State() == ObjectState::Open) set->Close();
    }
    // Released here, before the connection; nothing uses a format object after unload.
    Pobj_GridCondPag_GGMMFIX.reset();
    Pobj_GridPerSlit_DAGGMM.reset();
    Pobj_GridPerSlit_AGGMM.reset();
    Pobj_GridPerSlit_GGMMSCAD.reset();
    LAY_CONDPAG.Stop();
    if (messages_ != nullptr) messages_->SetInterface(nullptr);
    messages_ = nullptr;
    own_messages_.reset();  // released now rather than with the window: nothing else shows it
    if (lookup_runner() == own_lookup_runner_.get()) set_lookup_runner(nullptr);
    own_lookup_runner_.reset();
    if (has_connection_) connection_.Close();
    has_connection_ = false;  // a window loaded again opens a connection of its own
    if (host_ != nullptr) {
        if (ClsGlobal* global = host_->ClsGlobal()) {
            global->Unregister(host_);
            if (global->Application() == this) global->SetApplication(nullptr);
        }
        host_->SetActiveDll("");
        host_->SetActiveFrame(nullptr);
    }
    component_ = nullptr;
    host_ = nullptr;
}

}  // namespace condpag
