// The generation window's field dependencies: clearing rules on a person's pick, enable and
// visibility rules on every change of the value shown, leave checks, keyboard flow and the
// subtype box.

#include "rules/code_tables.h"
#include "rules/day_month.h"
#include "rules/italian_format.h"
#include "rules/records.h"
#include "windows/FRMCO_GENMULTIPLA.h"
#include "windows/FRMCO_SOTTOTIPI.h"
#include "windows/lookup_statements.h"

namespace condpag {

std::string FRMCO_GENMULTIPLA::start_rule() const { return RTrimN(CMB_TIPODECORR.text()); }

void FRMCO_GENMULTIPLA::empty_boxes(std::initializer_list<EditBox*> boxes) {
    for (EditBox* box : boxes) {
        box->set_text("");
        box->set_changed(false);
    }
}

void FRMCO_GENMULTIPLA::CMB_TIPODECORR_Click() {
    const std::string rule = start_rule();
    if (rule == "1") {
        empty_boxes({&TXT_DAGGFIX1, &TXT_AGGFIX1, &TXT_GGSCADFIX1, &TXT_DAGGFIX2, &TXT_AGGFIX2,
                     &TXT_GGSCADFIX2, &TXT_GGMMFIX});
    } else if (rule == "2") {
        empty_boxes({&TXT_DAGGFIX1, &TXT_AGGFIX1, &TXT_DAGGFIX2, &TXT_AGGFIX2, &TXT_GGSCADFIX2,
                     &TXT_GGDECOR, &TXT_GGMMFIX});
    } else if (rule == "3") {
        empty_boxes({&TXT_DAGGFIX1, &TXT_AGGFIX1, &TXT_GGSCADFIX1, &TXT_DAGGFIX2, &TXT_AGGFIX2,
                     &TXT_GGSCADFIX2, &TXT_GGDECOR});
    } else if (rule == "4") {
        empty_boxes({&TXT_GGDECOR, &TXT_GGMMFIX});
    }
}

void FRMCO_GENMULTIPLA::CMB_TIPODECORR_Change() {
    const std::string rule = start_rule();
    if (rule != "1" && rule != "2" && rule != "3" && rule != "4") return;
    // Unlike the editor's installment area, the days apply to rules 1 and 2 only.
    const bool days = rule == "1" || rule == "2";
    const bool fixed_date = rule == "3";
    const bool intervals = rule == "4";
    TXT_GGDECOR.enable(days);
    TXT_GGDECOR.enable2(days);
    TXT_GGMMFIX.enable(fixed_date);
    TXT_GGMMFIX.enable2(fixed_date);
    TXT_DAGGFIX1.enable(intervals);
    TXT_AGGFIX1.enable(intervals);
    TXT_GGSCADFIX1.enable(intervals || rule == "2");
    TXT_DAGGFIX2.enable(intervals);
    TXT_AGGFIX2.enable(intervals);
    TXT_GGSCADFIX2.enable(intervals);
}

void FRMCO_GENMULTIPLA::show_share_boxes(const std::string& form, EditBox& percentage,
                                         EditBox& numerator, EditBox& denominator) {
    if (form != "0" && form != "1") return;
    const bool fraction = form == "0";
    percentage.show(!fraction);
    numerator.show(fraction);
    denominator.show(fraction);
}

void FRMCO_GENMULTIPLA::empty_share_boxes(const std::string& form, EditBox& percentage,
                                          EditBox& numerator, EditBox& denominator) {
    if (form == "0") empty_boxes({&percentage});
    if (form == "1") empty_boxes({&numerator, &denominator});
}

void FRMCO_GENMULTIPLA::CMB_FLGFRPERCIMP_Click() {
    empty_share_boxes(RTrimN(CMB_FLGFRPERCIMP.text()), TXT_IMP, TXT_NUMIMP, TXT_DENIMP);
}

void FRMCO_GENMULTIPLA::CMB_FLGFRPERCIMP_Change() {
    if (!CMB_FLGFRPERCIMP.has_focus()) return;
    show_share_boxes(RTrimN(CMB_FLGFRPERCIMP.text()), TXT_IMP, TXT_NUMIMP, TXT_DENIMP);
}

void FRMCO_GENMULTIPLA::CMB_FLGFRPERCIVA_Click() {
    empty_share_boxes(RTrimN(CMB_FLGFRPERCIVA.text()), TXT_IVA, TXT_NUMIVA, TXT_DENIVA);
}

void FRMCO_GENMULTIPLA::CMB_FLGFRPERCIVA_Change() {
    if (!CMB_FLGFRPERCIVA.has_focus()) return;
    show_share_boxes(RTrimN(CMB_FLGFRPERCIVA.text()), TXT_IVA, TXT_NUMIVA, TXT_DENIVA);
}

void FRMCO_GENMULTIPLA::CMB_TIPOIMPFIX_Click() {
    const std::string code = RTrimN(CMB_TIPOIMPFIX.text());
    if (code == "0" || code == "2") empty_boxes({&TXT_IMPFIX});
}

void FRMCO_GENMULTIPLA::CMB_TIPOIMPFIX_Change(const std::string& code) {
    const std::string shown = RTrimN(code);
    if (shown == "1") TXT_IMPFIX.enable(true);
    if (shown == "0" || shown == "2") TXT_IMPFIX.enable(false);
}

void FRMCO_GENMULTIPLA::CMB_TIPO_Click() {
    // Here only types before credit card lose their subtype; every other type decodes it again.
    if (CDecN(CMB_TIPO.text()) < kEffettoCartaDiCredito) {
        empty_boxes({&TXT_SOTTOTIPO});
    } else {
        TXT_SOTTOTIPO.Decode();
    }
}

void FRMCO_GENMULTIPLA::CMB_TIPO_Change() {
    const double t = CDecN(CMB_TIPO.text());
    TXT_SOTTOTIPO.enable(!(t < kEffettoCartaDiCredito && t != kEffettoRicevutaBancaria));
}

void FRMCO_GENMULTIPLA::TXT_NUMERORATE_LostFocus() {
    CMD_GENERA.enable(!RTrimN(TXT_NUMERORATE.text()).empty());
}

void FRMCO_GENMULTIPLA::TXT_GGMMFIX_LostFocus() {
    Value stored = MMGGdaGGMM(Value(TogliBarre(RTrimN(TXT_GGMMFIX.text()))));
    TXT_GGMMFIX.set_text(FormattaGGMM(GGMMdaMMGG(stored), 1).to_text());
    if (start_rule() == "3") TXT_GGMMFIX.set_valid(DataValida(RTrimN(TXT_GGMMFIX.text()), 1));
}

void FRMCO_GENMULTIPLA::TXT_IMPFIX_LostFocus() {
    // The amount is shown "#,##0.00" once it reads as one; other text stays for the check.
    if (RTrimN(TXT_IMPFIX.text()).empty()) return;
    if (auto amount = LeggiImporto(TXT_IMPFIX.text()))
        TXT_IMPFIX.set_text(FormattaImporto(*amount));
}

void FRMCO_GENMULTIPLA::TXT_GGSCADFIX1_LostFocus() {
    const std::string rule = start_rule();
    if (rule == "2" || rule == "4") {
        TXT_GGSCADFIX1.set_valid(DataValida(RTrimN(TXT_GGSCADFIX1.text()), 0));
    }
}

void FRMCO_GENMULTIPLA::TXT_GGSCADFIX2_LostFocus() {
    if (start_rule() == "4") {
        TXT_GGSCADFIX2.set_valid(DataValida(RTrimN(TXT_GGSCADFIX2.text()), 0));
    }
}

void FRMCO_GENMULTIPLA::suggest_generate(int key, int shift) {
    if ((key != kKeyEnter && key != kKeyTab) || shift != kShiftNone) return;
    DoEvents();
    if (focus() == &CMD_ANNULLA && CMD_GENERA.enabled()) CMD_GENERA.SetTextFocus();
}

void FRMCO_GENMULTIPLA::CMB_TIPOIMPFIX_KeyDown(int& key, int shift) {
    suggest_generate(key, shift);
}
void FRMCO_GENMULTIPLA::TXT_IMPFIX_KeyDown(int& key, int shift) { suggest_generate(key, shift); }
void FRMCO_GENMULTIPLA::TXT_GGSCADFIX2_KeyDown(int& key, int shift) {
    suggest_generate(key, shift);
}

void FRMCO_GENMULTIPLA::TXT_SOTTOTIPO_StartDecode(DecodeRequest& request) {
    auto statement = subtype_name_statement(CMB_TIPO.text(), TXT_SOTTOTIPO.text());
    // A code that is no number finds nothing: the description is emptied.
    if (statement) request.statement = *statement;
    request.targets = {{std::string(db::CG64_DESCSTIPO), &TXT_DECODSTIPO}};
    if (owner_ != nullptr) request.host_text = owner_->OwnerConnectionString();
}

void FRMCO_GENMULTIPLA::TXT_SOTTOTIPO_StartLookup(LookupRequest& request) {
    request.cancel = false;
    request.columns = {{"Codice", ""}, {"Descrizione", ""}};
    if (auto statement = subtype_list_statement(CMB_TIPO.text())) request.statement = *statement;
    // The shown name of the type, as the editor titles its own list of subtypes.
    request.title = std::string("Elenco sottotipi effetto del tipo") + " " + CMB_TIPO.label();
    if (owner_ != nullptr) request.host_text = owner_->OwnerConnectionString();
    TXT_SOTTOTIPO.set_lookup_name("Lkp_SottoTipiGenMul");
}

void FRMCO_GENMULTIPLA::TXT_SOTTOTIPO_FunctionKey(const std::string& key_name) {
    if (key_name != "Kgestione" || owner_ == nullptr) return;
    ApriSottotipi(*owner_, CMB_TIPO.text(), lookup_runner(), modal_runner_);
}

}  // namespace condpag
