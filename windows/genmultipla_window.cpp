// The generation window: its controls, load, first activation and unload.

#include "framework/choice_lists.h"
#include "framework/host.h"
#include "windows/FRMCO_GENMULTIPLA.h"

namespace condpag {

FRMCO_GENMULTIPLA::FRMCO_GENMULTIPLA() : ModalWindow("FRMCO_GENMULTIPLA") { set_up_controls(); }

FRMCO_GENMULTIPLA::~FRMCO_GENMULTIPLA() {
    if (loaded()) Form_Unload();
}

void FRMCO_GENMULTIPLA::set_up_controls() {
    set_caption("Generazione automatica rate");
    auto box = [](EditBox& b, const char* caption, int length, bool numeric) {
        b.set_caption(caption);
        b.set_max_length(length);
        b.set_numeric(numeric);
    };
    box(TXT_NUMERORATE, "", 2, true);
    CMB_TIPO.set_caption("Tipo effetto");
    box(TXT_SOTTOTIPO, "Sottotipo effetto", 2, true);
    box(TXT_DECODSTIPO, "", 20, false);
    TXT_DECODSTIPO.enable(false);
    CMB_CALENDARIO.set_caption("Tipo calendario");
    CMB_TIPODECORR.set_caption("Tipo decorrenza");
    box(TXT_GGDECOR, "Giorni di decorrenza", 4, false);
    CMB_DATARIF.set_caption("Data di riferimento");
    box(TXT_GGMMFIX, "Giorno/mese fisso", 5, false);
    CMB_FLGFRPERCIMP.set_caption("Tipo gestione imponibile");
    box(TXT_IMP, "Percentuale Imponibile", 3, true);
    box(TXT_NUMIMP, "Numeratore Imponibile", 2, true);
    box(TXT_DENIMP, "Denominatore Imponibile", 2, true);
    CMB_FLGFRPERCIVA.set_caption("Tipo gestione IVA");
    box(TXT_IVA, "Percentuale IVA", 3, true);
    box(TXT_NUMIVA, "Numeratore IVA", 2, true);
    box(TXT_DENIVA, "Denominatore IVA", 2, true);
    CMB_TIPOIMPFIX.set_caption("Gestione Importo fisso");
    box(TXT_IMPFIX, "Importo fisso", 11, true);
    TXT_IMPFIX.set_currency("EURO");
    box(TXT_DAGGFIX1, " Limite inferiore 1° intervallo", 2, true);
    box(TXT_AGGFIX1, "Limite superiore 1° intervallo", 2, true);
    box(TXT_GGSCADFIX1, "Giorno di scadenza 1° intervallo", 2, true);
    box(TXT_DAGGFIX2, "Limite inferiore 2° intervallo", 2, true);
    box(TXT_AGGFIX2, "Limite superiore 2° intervallo", 2, true);
    box(TXT_GGSCADFIX2, "Giorno di scadenza 2° intervallo", 2, true);
}

void FRMCO_GENMULTIPLA::connect_handlers() {
    CMD_GENERA.Click.connect([this] { CMD_GENERA_Click(); });
    CMD_ANNULLA.Click.connect([this] { CMD_ANNULLA_Click(); });
    CMB_TIPODECORR.Pick.connect([this] { CMB_TIPODECORR_Click(); });
    CMB_TIPODECORR.ValueChanged.connect([this](const std::string&) { CMB_TIPODECORR_Change(); });
    CMB_FLGFRPERCIMP.Pick.connect([this] { CMB_FLGFRPERCIMP_Click(); });
    CMB_FLGFRPERCIMP.ValueChanged.connect(
        [this](const std::string&) { CMB_FLGFRPERCIMP_Change(); });
    CMB_FLGFRPERCIVA.Pick.connect([this] { CMB_FLGFRPERCIVA_Click(); });
    CMB_FLGFRPERCIVA.ValueChanged.connect(
        [this](const std::string&) { CMB_FLGFRPERCIVA_Change(); });
    CMB_TIPOIMPFIX.Pick.connect([this] { CMB_TIPOIMPFIX_Click(); });
    CMB_TIPOIMPFIX.ValueChanged.connect(
        [this](const std::string& code) { CMB_TIPOIMPFIX_Change(code); });
    CMB_TIPO.Pick.connect([this] { CMB_TIPO_Click(); });
    CMB_TIPO.ValueChanged.connect([this](const std::string&) { CMB_TIPO_Change(); });
    TXT_NUMERORATE.Leave.connect([this] { TXT_NUMERORATE_LostFocus(); });
    TXT_GGMMFIX.Leave.connect([this] { TXT_GGMMFIX_LostFocus(); });
    TXT_GGSCADFIX1.Leave.connect([this] { TXT_GGSCADFIX1_LostFocus(); });
    TXT_GGSCADFIX2.Leave.connect([this] { TXT_GGSCADFIX2_LostFocus(); });
    TXT_IMPFIX.Leave.connect([this] { TXT_IMPFIX_LostFocus(); });
    CMB_TIPOIMPFIX.KeyDown.connect(
        [this](int& key, int shift) { CMB_TIPOIMPFIX_KeyDown(key, shift); });
    TXT_IMPFIX.KeyDown.connect([this](int& key, int shift) { TXT_IMPFIX_KeyDown(key, shift); });
    TXT_GGSCADFIX2.KeyDown.connect(
        [this](int& key, int shift) { TXT_GGSCADFIX2_KeyDown(key, shift); });
    TXT_SOTTOTIPO.StartDecode.connect([this](DecodeRequest& r) { TXT_SOTTOTIPO_StartDecode(r); });
    TXT_SOTTOTIPO.StartLookup.connect([this](LookupRequest& r) { TXT_SOTTOTIPO_StartLookup(r); });
    TXT_SOTTOTIPO.FunctionKey.connect(
        [this](const std::string& key) { TXT_SOTTOTIPO_FunctionKey(key); });
}

void FRMCO_GENMULTIPLA::Form_Load() {
    host_ = owner_ != nullptr ? owner_->OwnerInterface() : nullptr;
    result_ = false;
    activated_ = false;
    connect_handlers();

    load_CMB_TIPO(*this);
    load_CMB_CALENDARIO(*this);
    load_CMB_TIPODECORR(*this);
    load_CMB_DATARIF(*this);
    load_CMB_FLGFRPERCIMP(*this);
    load_CMB_FLGFRPERCIVA(*this);
    load_CMB_TIPOIMPFIX(*this);

    Connection connection;
    if (owner_ != nullptr) connection = owner_->OwnerConnection();
    FME_GENMULTIPLA.Setup(host_, connection, nullptr, "", "", nullptr, nullptr);
    for (Control* field : std::initializer_list<Control*>{
             &TXT_NUMERORATE, &CMB_TIPO,         &TXT_SOTTOTIPO, &TXT_DECODSTIPO,
             &CMB_CALENDARIO, &CMB_TIPODECORR,   &TXT_GGDECOR,   &CMB_DATARIF,
             &TXT_GGMMFIX,    &CMB_FLGFRPERCIMP, &TXT_NUMIMP,    &TXT_DENIMP,
             &TXT_IMP,        &CMB_FLGFRPERCIVA, &TXT_NUMIVA,    &TXT_DENIVA,
             &TXT_IVA,        &CMB_TIPOIMPFIX,   &TXT_IMPFIX,    &TXT_DAGGFIX1,
             &TXT_AGGFIX1,    &TXT_GGSCADFIX1,   &TXT_DAGGFIX2,  &TXT_AGGFIX2,
             &TXT_GGSCADFIX2}) {
        FME_GENMULTIPLA.BindControl(*field);
    }
}

void FRMCO_GENMULTIPLA::set_defaults() {
    // Each selection raises its list's value event, so the enable rules hold from the start.
    CMB_TIPO.select_value(13);
    CMB_CALENDARIO.select_value(0);
    CMB_TIPODECORR.select_value(1);
    CMB_DATARIF.select_value(1);
    CMB_FLGFRPERCIMP.select_value(1);
    TXT_IMP.show(true);
    TXT_NUMIMP.show(false);
    TXT_DENIMP.show(false);
    CMB_FLGFRPERCIVA.select_value(1);
    TXT_IVA.show(true);
    TXT_NUMIVA.show(false);
    TXT_DENIVA.show(false);
    CMB_TIPOIMPFIX.select_value(0);
    CMD_GENERA.enable(false);
}

void FRMCO_GENMULTIPLA::Form_Activate() {
    if (activated_) return;
    activated_ = true;
    if (host_ != nullptr) {
        host_frame_before_ = host_->ActiveFrame();
        host_->SetActiveFrame(&FME_GENMULTIPLA);
    }
    set_defaults();
    TXT_NUMERORATE.SetTextFocus();
    LAYOUT.Start();
}

void FRMCO_GENMULTIPLA::Form_Unload() {
    FME_GENMULTIPLA.End();
    if (host_ != nullptr && activated_) give_back_active_frame(*host_, host_frame_before_);
    LAYOUT.Stop();
    host_ = nullptr;
}

void FRMCO_GENMULTIPLA::CMD_ANNULLA_Click() { Close(); }

void FRMCO_GENMULTIPLA::CMD_GENERA_Click() { GeneraRate(); }

}  // namespace condpag
