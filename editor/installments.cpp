// Installment editing: the values of a new installment, the dependencies between its fields, the
// renumbering after a deletion, the totals and the automatic description, single-installment
// mode and the keyboard flow that confirms an installment or starts the next one.
//
// Clearing rules run only on a person's pick (Pick); enable and visibility rules run on every
// shown value (ValueChanged), so they hold for stored and new installments alike.

#include <array>
#include <cmath>

#include "editor/FRMCO_CONDPAG.h"
#include "framework/host.h"
#include "rules/code_tables.h"
#include "rules/day_month.h"
#include "rules/description.h"
#include "rules/normaliser.h"
#include "rules/records.h"
#include "rules/totals.h"
#include "storage/statements.h"

namespace condpag {
namespace {

// The columns of the remembered installment, in the order a new installment takes them.
constexpr std::array<std::string_view, 22> kRemembered = {
    db::CG63_TIPOEFF,  db::CG63_STIPOEFF,   db::CG63_INDTIPOCALEND, db::CG63_INDTIPODECOR,
    db::CG63_GGDECOR,  db::CG63_INDDATARIF, db::CG63_GGMMFIX,       db::CG63_FLGFRPERCIMP,
    db::CG63_PERCIMP,  db::CG63_EL1FRIMP,   db::CG63_EL2FRIMP,      db::CG63_FLGFRPERCIVA,
    db::CG63_PERCIVA,  db::CG63_EL1FRIVA,   db::CG63_EL2FRIVA,      db::CG63_INDIMPFIX,
    db::CG63_DAGGFIX1, db::CG63_AGGFIX1,    db::CG63_GGSCADFIX1,    db::CG63_DAGGFIX2,
    db::CG63_AGGFIX2,  db::CG63_GGSCADFIX2};

bool plain_key(int key, int shift) { return (key == kKeyEnter || key == kKeyTab) && shift == 0; }

}  // namespace

int FRMCO_CONDPAG::installation_profile() const {
    ClsGlobal* global = host_ != nullptr ? host_->ClsGlobal() : nullptr;
    return global != nullptr ? global->InstallationProfile() : 0;
}

void FRMCO_CONDPAG::write_columns(DataFrame& frame,
                                  const std::vector<std::pair<std::string_view, Value>>& values,
                                  const std::vector<Control*>& boxes) {
    Recordset* set = frame.Recordset();
    if (set == nullptr || set->State() != ObjectState::Open || set->AbsolutePosition() == 0) return;
    frame.SetFieldEvents(false);
    for (const auto& [column, value] : values) set->SetField(column, value);
    frame.SetFieldEvents(true);
    for (Control* box : boxes) box->set_changed(false);
}

void FRMCO_CONDPAG::FME_DETTAGLIO_BeforeAddNew(bool& cancel) {
    // In single-installment mode a person adds no installment; the frame begins the term's one
    // itself when a new term is begun. "Nuovo" is disabled there too, so only a program that
    // calls the frame's command meets this refusal.
    if (single_installment_) cancel = true;
}

void FRMCO_CONDPAG::FME_DETTAGLIO_AfterAddNew(bool result) {
    if (!result) return;
    Recordset& set = Grst_RecordSet_CG63;
    // A new installment starts from the defaults of its columns.
    const Record defaults = default_row(db::CG63_CONDPAGDET);
    std::vector<std::pair<std::string_view, Value>> values(defaults.begin(), defaults.end());
    values.emplace_back(db::CG63_CODPAG_CG62, code());
    values.emplace_back(db::CG63_PROG, static_cast<long long>(set.RecordCount()));
    if (set.RecordCount() > 1) {
        // The next installment repeats the last one seen, a month of days later.
        bool month_rule = RTrimN(field(remembered_, db::CG63_INDTIPODECOR)) == "1";
        for (std::string_view column : kRemembered) {
            Value value = field(remembered_, column);
            if (column == db::CG63_GGDECOR && month_rule) value = CDecN(value) + 30;
            values.emplace_back(column, value);
        }
    }
    write_columns(FME_DETTAGLIO, values, {&TXT_NUMRATA});
    // A copied installment counts as entered, so that "Conferma" takes it as it stands; a first
    // installment left as its defaults is dropped when the person moves on.
    if (set.RecordCount() > 1) {
        TXT_NUMRATA.Edited.emit();
        // The edit took the box's text; the installment number stays a number.
        write_columns(FME_DETTAGLIO, {{db::CG63_PROG, static_cast<long long>(set.RecordCount())}},
                      {&TXT_NUMRATA});
    }
}

void FRMCO_CONDPAG::FME_DETTAGLIO_BeforeUpdate(bool&) {}

void FRMCO_CONDPAG::FME_DETTAGLIO_AfterUpdate(bool result) {
    if (!result) return;
    MostraTotali();
    RefreshDescription();
    MemorizzaRata();
}

void FRMCO_CONDPAG::FME_DETTAGLIO_AfterDelete(bool result) {
    if (!result) return;
    RinumeraRate();
    RefreshDescription();
    if (FME_DETTAGLIO.Status() == FrameStatus::Insert && Grst_RecordSet_CG63.RecordCount() == 1) {
        TXT_TOTIMP.set_text("");
        TXT_TOTIVA.set_text("");
    }
}

void FRMCO_CONDPAG::FME_DETTAGLIO_ChangeStatus(FrameStatus status, ChangeReason reason) {
    HeaderFollowsDetail(FME_DETTAGLIO, status);
    if (status == FrameStatus::View) {
        GRIDNAV_RATE.enable(true);
        if (single_installment_ && ContaRate(code()) >= 2) GRIDNAV_RATE.enable(false);
        MostraTotali();
        MemorizzaRata();
    } else if (status == FrameStatus::Insert && single_installment_) {
        // The one installment of the term takes the whole amount, as percentages.
        write_columns(FME_DETTAGLIO,
                      {{db::CG63_FLGFRPERCIMP, 1},
                       {db::CG63_FLGFRPERCIVA, 1},
                       {db::CG63_INDIMPFIX, 1},
                       {db::CG63_PERCIMP, 100},
                       {db::CG63_PERCIVA, 100}},
                      {&CMB_FLGFRPERCIMP, &CMB_FLGFRPERCIVA, &CMB_TIPOIMPFIX, &TXT_IMP, &TXT_IVA});
        for (Control* control : std::initializer_list<Control*>{
                 &CMB_FLGFRPERCIMP, &CMB_FLGFRPERCIVA, &CMB_TIPOIMPFIX, &TXT_IMP, &TXT_IVA}) {
            control->enable(false);
        }
        // A new term's one installment is entered by these choices alone: it is saved with the
        // term even when the person types nothing more into it.
        if (FME_CONDPAGDES.Status() == FrameStatus::Insert) FME_DETTAGLIO.MarkRowEdited();
    }
    show_share_boxes(CMB_FLGFRPERCIMP.text(), TXT_IMP, TXT_NUMIMP, TXT_DENIMP);
    show_share_boxes(CMB_FLGFRPERCIVA.text(), TXT_IVA, TXT_NUMIVA, TXT_DENIVA);
    if (single_installment_) GRIDNAV_RATE.EnableButton("Nuovo", false);
    // "Nuovo" adds no installment in this mode: a new term whose one installment was dropped
    // with "Annulla" is offered it again, as when the term was begun.
    if (single_installment_ && status == FrameStatus::View && reason == ChangeReason::Undone &&
        FME_CONDPAGDES.Status() == FrameStatus::Insert && Grst_RecordSet_CG63.RecordCount() == 0) {
        FME_DETTAGLIO.SetStatus(FrameStatus::Insert);
        TXT_TOTIMP.set_text("");
        TXT_TOTIVA.set_text("");
    }
}

void FRMCO_CONDPAG::show_share_boxes(const std::string& form, EditBox& percent, EditBox& numerator,
                                     EditBox& denominator) {
    if (RTrimN(form).empty()) return;  // no share kind shown: nothing to decide on
    bool fraction = CDecN(form) == 0;
    percent.show(!fraction);
    numerator.show(fraction);
    denominator.show(fraction);
}

void FRMCO_CONDPAG::CMB_TIPODECORR_Click() {
    const std::string rule = RTrimN(CMB_TIPODECORR.text());
    std::vector<std::string_view> columns;
    if (rule == "1") {
        columns = {db::CG63_DAGGFIX1, db::CG63_AGGFIX1,    db::CG63_GGSCADFIX1, db::CG63_DAGGFIX2,
                   db::CG63_AGGFIX2,  db::CG63_GGSCADFIX2, db::CG63_GGMMFIX};
    } else if (rule == "2") {
        columns = {db::CG63_DAGGFIX1,   db::CG63_AGGFIX1, db::CG63_DAGGFIX2, db::CG63_AGGFIX2,
                   db::CG63_GGSCADFIX2, db::CG63_GGDECOR, db::CG63_GGMMFIX};
    } else if (rule == "3") {
        columns = {db::CG63_DAGGFIX1, db::CG63_AGGFIX1,    db::CG63_GGSCADFIX1, db::CG63_DAGGFIX2,
                   db::CG63_AGGFIX2,  db::CG63_GGSCADFIX2, db::CG63_GGDECOR};
    } else if (rule == "4") {
        columns = {db::CG63_GGDECOR, db::CG63_GGMMFIX};
    }
    std::vector<std::pair<std::string_view, Value>> values;
    std::vector<Control*> boxes;
    for (std::string_view column : columns) {
        values.emplace_back(column, Value());
        for (Control* control : controls()) {
            if (control->bound_column() == column) boxes.push_back(control);
        }
    }
    if (!values.empty()) write_columns(FME_DETTAGLIO, values, boxes);
}

void FRMCO_CONDPAG::CMB_TIPODECORR_Change(const std::string& shown) {
    const double rule = CDecN(shown);
    auto set = [](EditBox& box, bool on, bool second_switch) {
        box.enable(on);
        if (second_switch) box.enable2(on);
    };
    const bool fixed_date = rule == kDecorrenzaDataFissa;
    const bool intervals = rule == kDecorrenzaGiornoFissoPerIntervallo;
    set(TXT_GGDECOR, !fixed_date, true);
    set(TXT_GGMMFIX, fixed_date, true);
    set(TXT_DAGGFIX1, intervals, false);
    set(TXT_AGGFIX1, intervals, false);
    set(TXT_GGSCADFIX1, rule == kDecorrenzaGiornoFisso || intervals, false);
    set(TXT_DAGGFIX2, intervals, false);
    set(TXT_AGGFIX2, intervals, false);
    set(TXT_GGSCADFIX2, intervals, false);
}

void FRMCO_CONDPAG::share_kind_picked(ComboBox& list, std::string_view percent_column,
                                      std::string_view numerator_column,
                                      std::string_view denominator_column, EditBox& percent,
                                      EditBox& numerator, EditBox& denominator) {
    const std::string kind = RTrimN(list.text());
    if (kind == "0") {
        write_columns(FME_DETTAGLIO, {{percent_column, Value()}}, {&percent});
    } else if (kind == "1") {
        write_columns(FME_DETTAGLIO, {{numerator_column, Value()}, {denominator_column, Value()}},
                      {&numerator, &denominator});
    }
}

void FRMCO_CONDPAG::CMB_FLGFRPERCIMP_Click() {
    share_kind_picked(CMB_FLGFRPERCIMP, db::CG63_PERCIMP, db::CG63_EL1FRIMP, db::CG63_EL2FRIMP,
                      TXT_IMP, TXT_NUMIMP, TXT_DENIMP);
}

void FRMCO_CONDPAG::CMB_FLGFRPERCIVA_Click() {
    share_kind_picked(CMB_FLGFRPERCIVA, db::CG63_PERCIVA, db::CG63_EL1FRIVA, db::CG63_EL2FRIVA,
                      TXT_IVA, TXT_NUMIVA, TXT_DENIVA);
}

void FRMCO_CONDPAG::CMB_FLGFRPERCIMP_Change(const std::string& shown) {
    const std::string kind = RTrimN(shown);
    if (CMB_FLGFRPERCIMP.has_focus() && (kind == "0" || kind == "1")) {
        show_share_boxes(kind, TXT_IMP, TXT_NUMIMP, TXT_DENIMP);
    }
}

void FRMCO_CONDPAG::CMB_FLGFRPERCIVA_Change(const std::string& shown) {
    const std::string kind = RTrimN(shown);
    if (CMB_FLGFRPERCIVA.has_focus() && (kind == "0" || kind == "1")) {
        show_share_boxes(kind, TXT_IVA, TXT_NUMIVA, TXT_DENIVA);
    }
}

void FRMCO_CONDPAG::CMB_TIPOIMPFIX_Click() {
    const std::string handling = RTrimN(CMB_TIPOIMPFIX.text());
    if (handling == "0" || handling == "2") {
        write_columns(FME_DETTAGLIO, {{db::CG63_IMPORFIX, Value()}}, {&TXT_IMPFIX});
    }
}

void FRMCO_CONDPAG::CMB_TIPOIMPFIX_Change(const std::string& shown) {
    const std::string handling = RTrimN(shown);
    if (handling == "1") {
        TXT_IMPFIX.enable(true);
    } else if (handling == "0" || handling == "2") {
        TXT_IMPFIX.enable(false);
    }
}

void FRMCO_CONDPAG::CMB_TIPO_Click() {
    const double type = CDecN(CMB_TIPO.text());
    if (type < kEffettoCartaDiCredito || type > kEffettoMav) {
        write_columns(FME_DETTAGLIO, {{db::CG63_STIPOEFF, Value()}}, {&TXT_SOTTOTIPO});
    } else {
        TXT_SOTTOTIPO.Decode();
    }
}

void FRMCO_CONDPAG::CMB_TIPO_Change(const std::string& shown) {
    const double type = CDecN(shown);
    // Subtypes belong to bank receipts and to the types from credit card to MAV.
    TXT_SOTTOTIPO.enable(!(type != kEffettoRicevutaBancaria &&
                           (type < kEffettoCartaDiCredito || type > kEffettoMav)));
}

// The subtype's description for the payment type shown. Both codes go into the statement without
// quotes, so anything but digits decodes nothing.
void FRMCO_CONDPAG::TXT_SOTTOTIPO_StartDecode(DecodeRequest& request) {
    auto type = digits_only(RTrimN(CMB_TIPO.text()));
    auto subtype = digits_only(RTrimN(TXT_SOTTOTIPO.text()));
    request.targets = {{std::string(db::CG64_DESCSTIPO), &TXT_DECODSTIPO}};
    request.host_text = connection_string_;
    if (!type || !subtype) return;
    request.statement = std::string(" SELECT") + "   CG64_DESCSTIPO" + " FROM" +
                        "   CG64_SOTTOTIPO" + " WHERE" + "   (CG64_TIPOEFF = " + *type + ")" +
                        "   AND (CG64_CODSTIPOEFF = " + *subtype + ")";
}

void FRMCO_CONDPAG::TXT_SOTTOTIPO_StartLookup(LookupRequest& request) {
    request.cancel = false;
    request.columns = {{"Codice", ""}, {"Descrizione", ""}, {"GG", ""}};
    request.title =
        translate("Elenco sottotipi effetto del tipo") + " " + translate(CMB_TIPO.text());
    request.host_text = connection_string_;
    TXT_SOTTOTIPO.set_lookup_name("Lkp_SottoTipiEffettiGG");
    auto type = digits_only(CMB_TIPO.text());
    if (!type) return;
    request.statement = std::string(" SELECT") + "   CG64_CODSTIPOEFF," + "   CG64_DESCSTIPO," +
                        "   CG64_GGOFFSET" + " FROM" + "   CG64_SOTTOTIPO" + " WHERE" +
                        "   (CG64_TIPOEFF = " + *type + ")" + " ORDER BY" + "   CG64_CODSTIPOEFF";
}

void FRMCO_CONDPAG::TXT_GGSCADFIX1_LostFocus() {
    const std::string rule = RTrimN(CMB_TIPODECORR.text());
    if (rule == "2" || rule == "4")
        TXT_GGSCADFIX1.set_valid(DataValida(RTrimN(TXT_GGSCADFIX1.text()), 0));
}

void FRMCO_CONDPAG::TXT_GGSCADFIX2_LostFocus() {
    if (RTrimN(CMB_TIPODECORR.text()) == "4") {
        TXT_GGSCADFIX2.set_valid(DataValida(RTrimN(TXT_GGSCADFIX2.text()), 0));
    }
}

void FRMCO_CONDPAG::TXT_GGMMFIX_LostFocus() {
    if (RTrimN(CMB_TIPODECORR.text()) == "3") {
        TXT_GGMMFIX.set_valid(DataValida(RTrimN(TXT_GGMMFIX.text()), 1));
    }
}

void FRMCO_CONDPAG::installment_key_flow(int& key, int shift) {
    if (plain_key(key, shift)) ConfermaDaTastiera();
}

void FRMCO_CONDPAG::CMB_TIPOIMPFIX_KeyDown(int& key, int shift) {
    installment_key_flow(key, shift);
}
void FRMCO_CONDPAG::TXT_GGSCADFIX2_KeyDown(int& key, int shift) {
    installment_key_flow(key, shift);
}
void FRMCO_CONDPAG::TXT_IMPFIX_KeyDown(int& key, int shift) { installment_key_flow(key, shift); }

void FRMCO_CONDPAG::ConfermaDaTastiera() {
    DoEvents();
    if (focus() != &GRIDNAV_RATE) return;
    if (FME_DETTAGLIO.Status() == FrameStatus::Insert) {
        GRIDNAV_RATE.SelectButton(TotaliCompleti() ? "Conferma" : "Nuovo");
    } else if (FME_DETTAGLIO.Status() == FrameStatus::View) {
        GRIDNAV_RATE.SelectButton("Conferma");
    }
}

void FRMCO_CONDPAG::TXT_SCART26_KeyDown(int& key, int shift) {
    if (key != kKeyEnter || shift != 0 || !TabCondPag.enabled()) return;
    key = 0;
    DoEvents();
    CMB_TIPO.SetTextFocus();
}

void FRMCO_CONDPAG::TXT_DESCANAL_KeyDown(int& key, int shift) {
    if (key == kKeyEnter && shift == 0) INTERNAV.user_click("Avanti");
}

void FRMCO_CONDPAG::CHK_DESAUTOM_Change() { TXT_DESCRIZIONE.enable(CHK_DESAUTOM.text() != "1"); }

void FRMCO_CONDPAG::MemorizzaRata() {
    Record current = Grst_RecordSet_CG63.State() == ObjectState::Open
                         ? Grst_RecordSet_CG63.current_record()
                         : Record();
    remembered_.clear();
    for (std::string_view column : kRemembered) {
        remembered_[std::string(column)] = field(current, column);
    }
}

void FRMCO_CONDPAG::RinumeraRate() {
    Recordset& set = Grst_RecordSet_CG63;
    if (set.State() != ObjectState::Open || set.RecordCount() < 1) return;
    FME_DETTAGLIO.SuspendSync();
    for (set.MoveFirst(); !set.IsEOF(); set.MoveNext()) {
        set.SetField(db::CG63_PROG, static_cast<long long>(set.AbsolutePosition()));
    }
    FME_DETTAGLIO.ResumeSync();
    GRID_CONDPAG.SetTextFocus();
}

double FRMCO_CONDPAG::NormaliseTotal(double total) const {
    ClsGlobal* global = host_ != nullptr ? host_->ClsGlobal() : nullptr;
    if (global != nullptr) {
        if (auto normaliser = global->NewNormaliser()) {
            return normaliser->normalise(total, 3, 4, 5);
        }
    }
    return RoundingNormaliser().normalise(total, 3, 4, 5);
}

void FRMCO_CONDPAG::MostraTotali() {
    ShareTotals totals = TotaliQuote(installments());
    ClsGlobal* global = host_ != nullptr ? host_->ClsGlobal() : nullptr;
    std::unique_ptr<NumberNormaliser> normaliser =
        global != nullptr ? global->NewNormaliser() : nullptr;
    auto shown = [&](double total) {
        return normaliser != nullptr ? normaliser->text(normaliser->normalise(total, 3, 4, 5))
                                     : decimal_text(NormaliseTotal(total));
    };
    TXT_TOTIMP.set_text(shown(totals.taxable));
    TXT_TOTIVA.set_text(shown(totals.vat));
}

bool FRMCO_CONDPAG::TotaliCompleti() const {
    return condpag::TotaliCompleti(TotaliQuote(installments()));
}

std::optional<std::string> FRMCO_CONDPAG::DescrizioneAutomatica() const {
    if (Grst_RecordSet_CG63.State() != ObjectState::Open) return std::string();
    return condpag::DescrizioneAutomatica(
        installments(), [this](std::string_view token) { return translate(std::string(token)); });
}

void FRMCO_CONDPAG::RefreshDescription() {
    if (CHK_DESAUTOM.text() != "1") return;
    std::optional<std::string> description = DescrizioneAutomatica();
    if (!description) return;  // an installment that cannot be described keeps the old text
    write_columns(FME_CONDPAGDES, {{db::CG62_DESCPAG, RTrimN(*description)}}, {&TXT_DESCRIZIONE});
}

}  // namespace condpag
