#pragma once
// FRMCO_CONDPAG: the payment-terms editor window. Its members are its controls, named as the
// window names them, its four data frames with their record sets, and its handlers, named
// control_event. The handlers live in one file per concern:
//   life_cycle.cpp         load, activation, closing, header status, messages and errors
//   details.cpp            detail sets following the header: load, re-key, save, undo, count
//   deletion.cpp           deletion guard and cascade delete of a term
//   installments.cpp       installment fields, new installments, totals, description
//   checks.cpp             what the record checks read of the window, and the record events
//   periods_languages.cpp  shift periods and language descriptions
//   grids.cpp              grid columns, cell display, day/month format objects
//   navigation.cpp         enabling rule, tabs, suggested buttons, export, print
//   layout.cpp             controls handed to the layout control
//   generation.cpp         generation and subtypes windows

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/choice_controls.h"
#include "framework/data_format.h"
#include "framework/data_frame.h"
#include "framework/edit_box.h"
#include "framework/form.h"
#include "framework/grid.h"
#include "framework/layout_control.h"
#include "framework/navigators.h"
#include "framework/secondary_window.h"
#include "rules/editor_view.h"
#include "rules/expected.h"
#include "rules/value.h"
#include "storage/connection.h"
#include "storage/recordset.h"
#include "windows/modal_window.h"

namespace condpag {

class Cinterface;
class CLSCO_CONDPAG;
class LookupRunner;
class LookupService;
class MessageService;
class FRMCO_CONDPAG;

// Opens the two secondary windows of the editor, modally. The shell may hand in its own (real
// dialogs); without one the editor opens nothing.
class SecondaryWindows {
  public:
    virtual ~SecondaryWindows() = default;
    // Shows the generation window for the editor; answers its result flag (rows generated).
    virtual bool RunGeneration(FRMCO_CONDPAG& editor) = 0;
    // Shows the subtypes window for a payment type.
    virtual void RunSubtypes(FRMCO_CONDPAG& editor, const std::string& payment_type) = 0;
};

// Opens the generation and subtypes windows of windows/ through a modal runner (the Qt shell
// runs a dialog; a headless session drives the window itself; none: shown and closed at once).
class ModalSecondaryWindows : public SecondaryWindows {
  public:
    explicit ModalSecondaryWindows(ModalRunner run = {}) : run_(std::move(run)) {}
    bool RunGeneration(FRMCO_CONDPAG& editor) override;
    void RunSubtypes(FRMCO_CONDPAG& editor, const std::string& payment_type) override;

  private:
    ModalRunner run_;
};

class FRMCO_CONDPAG : public Form, public EditorView, public SecondaryWindowOwner {
  public:
    FRMCO_CONDPAG();
    ~FRMCO_CONDPAG() override;

    // ---- handed in by the component before the window loads ----
    void SetInterface(Cinterface* host) { host_ = host; }
    Cinterface* Interface() const { return host_; }
    // The component that created the window, and how the window reads its CodicePagamento.
    void SetComponent(CLSCO_CONDPAG* component, std::function<std::string()> codice_pagamento);
    // Without one, the windows are opened with no person at them.
    void SetSecondaryWindows(SecondaryWindows* windows) { secondary_ = windows; }

    // ---- header ----
    GroupBox FRA_TESTATA{*this, "FRA_TESTATA", "Condizione di pagamento"};
    Label LBL_CODICE{*this, "LBL_CODICE", "Codice"};
    LookupBox TXT_CODICE{*this, "TXT_CODICE"};
    Label LBL_DESCRIZIONE{*this, "LBL_DESCRIZIONE", "Descrizione"};
    EditBox TXT_DESCRIZIONE{*this, "TXT_DESCRIZIONE"};
    CheckBox CHK_DESAUTOM{*this, "CHK_DESAUTOM"};
    Label LBL_SC1{*this, "LBL_SC1", "Sconto merce 1"};
    EditBox TXT_SC1{*this, "TXT_SC1"};
    Label LBL_SC2{*this, "LBL_SC2", "Sconto merce 2"};
    EditBox TXT_SC2{*this, "TXT_SC2"};
    Label LBL_SC3{*this, "LBL_SC3", "Sc. cassa"};
    EditBox TXT_SC3{*this, "TXT_SC3"};
    Label LBL_PERCSCART26{*this, "LBL_PERCSCART26", "Sconto Art.26 %"};
    EditBox TXT_PERCSCART26{*this, "TXT_PERCSCART26"};
    Label LBL_SCART26{*this, "LBL_SCART26", "Sconto Art.26 importo"};
    EditBox TXT_SCART26{*this, "TXT_SCART26"};
    Label LBL_STORNOIVA{*this, "LBL_STORNOIVA", "Flag storno IVA"};
    CheckBox CHK_STORNOIVA{*this, "CHK_STORNOIVA"};
    CheckBox CHK_DISABLEGG{*this, "CHK_DISABLEGG"};

    // ---- tab strip: 0 installments, 1 analytic description, 2 shift periods, 3 languages ----
    TabStrip TabCondPag{
        *this, "TabCondPag", {"Rate", "Descrizione analitica", "Periodi di slittamento", "Lingue"}};
    // The pages of TabCondPag, in order.
    enum TabPage { kPageRate = 0, kPageDescrizione = 1, kPagePeriodi = 2, kPageLingue = 3 };

    // ---- installments ----
    Grid GRID_CONDPAG{*this, "GRID_CONDPAG"};
    GroupBox FRA_RATA{*this, "FRA_RATA", "Rata"};
    Label LBL_NUMRATA{*this, "LBL_NUMRATA", "Numero rata"};
    EditBox TXT_NUMRATA{*this, "TXT_NUMRATA"};
    Label LBL_TIPO{*this, "LBL_TIPO", "Tipo effetto"};
    ComboBox CMB_TIPO{*this, "CMB_TIPO"};
    Label LBL_SOTTOTIPO{*this, "LBL_SOTTOTIPO", "Sottotipo effetto"};
    LookupBox TXT_SOTTOTIPO{*this, "TXT_SOTTOTIPO"};
    EditBox TXT_DECODSTIPO{*this, "TXT_DECODSTIPO"};
    Label LBL_CALENDARIO{*this, "LBL_CALENDARIO", "Tipo calendario"};
    ComboBox CMB_CALENDARIO{*this, "CMB_CALENDARIO"};
    Label LBL_TIPODECORR{*this, "LBL_TIPODECORR", "Tipo decorrenza"};
    ComboBox CMB_TIPODECORR{*this, "CMB_TIPODECORR"};
    Label LBL_GGDECOR{*this, "LBL_GGDECOR", "Giorni di decorrenza"};
    EditBox TXT_GGDECOR{*this, "TXT_GGDECOR"};
    Label LBL_DATARIF{*this, "LBL_DATARIF", "Data di riferimento"};
    ComboBox CMB_DATARIF{*this, "CMB_DATARIF"};
    Label LBL_GGMMFIX{*this, "LBL_GGMMFIX", "Giorno/mese fisso"};
    EditBox TXT_GGMMFIX{*this, "TXT_GGMMFIX"};
    Label LBL_FLGFRPERCIMP{*this, "LBL_FLGFRPERCIMP", "Tipo gestione imponibile"};
    ComboBox CMB_FLGFRPERCIMP{*this, "CMB_FLGFRPERCIMP"};
    Label LBL_IMP{*this, "LBL_IMP", "Imponibile"};
    EditBox TXT_IMP{*this, "TXT_IMP"};
    EditBox TXT_NUMIMP{*this, "TXT_NUMIMP"};
    EditBox TXT_DENIMP{*this, "TXT_DENIMP"};
    Label LBL_FLGFRPERCIVA{*this, "LBL_FLGFRPERCIVA", "Tipo gestione IVA"};
    ComboBox CMB_FLGFRPERCIVA{*this, "CMB_FLGFRPERCIVA"};
    Label LBL_IVA{*this, "LBL_IVA", "IVA"};
    EditBox TXT_IVA{*this, "TXT_IVA"};
    EditBox TXT_NUMIVA{*this, "TXT_NUMIVA"};
    EditBox TXT_DENIVA{*this, "TXT_DENIVA"};
    Label LBL_TIPOIMPFIX{*this, "LBL_TIPOIMPFIX", "Gestione Importo fisso"};
    ComboBox CMB_TIPOIMPFIX{*this, "CMB_TIPOIMPFIX"};
    Label LBL_IMPFIX{*this, "LBL_IMPFIX", "Importo fisso"};
    EditBox TXT_IMPFIX{*this, "TXT_IMPFIX"};
    Label LBL_INTERVALLO1{*this, "LBL_INTERVALLO1",
                          "1° intervallo: dal giorno / al giorno / scad."};
    EditBox TXT_DAGGFIX1{*this, "TXT_DAGGFIX1"};
    EditBox TXT_AGGFIX1{*this, "TXT_AGGFIX1"};
    EditBox TXT_GGSCADFIX1{*this, "TXT_GGSCADFIX1"};
    Label LBL_INTERVALLO2{*this, "LBL_INTERVALLO2",
                          "2° intervallo: dal giorno / al giorno / scad."};
    EditBox TXT_DAGGFIX2{*this, "TXT_DAGGFIX2"};
    EditBox TXT_AGGFIX2{*this, "TXT_AGGFIX2"};
    EditBox TXT_GGSCADFIX2{*this, "TXT_GGSCADFIX2"};
    Label LBL_TOTALI{*this, "LBL_TOTALI", "Totale imponibile / IVA"};
    EditBox TXT_TOTIMP{*this, "TXT_TOTIMP"};
    EditBox TXT_TOTIVA{*this, "TXT_TOTIVA"};
    GridNavigator GRIDNAV_RATE{*this, "GRIDNAV_RATE"};
    CommandButton CMD_GENERA{*this, "CMD_GENERA", "&Generazione automatica rate"};

    // ---- analytic description page ----
    GroupBox FRA_DESCANAL{*this, "FRA_DESCANAL", "Descrizione analitica"};
    Label LBL_DESCANAL{*this, "LBL_DESCANAL", "Descrizione analitica"};
    EditBox TXT_DESCANAL{*this, "TXT_DESCANAL"};

    // ---- shift periods ----
    Grid GRID_PERSLIT{*this, "GRID_PERSLIT"};
    GroupBox FRA_PERSLIT{*this, "FRA_PERSLIT", "Periodo di slittamento"};
    Label LBL_PERSLITDAGGMM{*this, "LBL_PERSLITDAGGMM", "Limite inferiore"};
    EditBox TXT_PERSLITDAGGMM{*this, "TXT_PERSLITDAGGMM"};
    Label LBL_PERSLITAGGMM{*this, "LBL_PERSLITAGGMM", "Limite superiore"};
    EditBox TXT_PERSLITAGGMM{*this, "TXT_PERSLITAGGMM"};
    Label LBL_TIPOSLIT{*this, "LBL_TIPOSLIT", "Tipo slittamento"};
    ComboBox CMB_TIPOSLIT{*this, "CMB_TIPOSLIT"};
    Label LBL_PERSLITGGMMSCAD{*this, "LBL_PERSLITGGMMSCAD", "Data fissa di slittamento"};
    EditBox TXT_PERSLITGGMMSCAD{*this, "TXT_PERSLITGGMMSCAD"};
    Label LBL_PERSLITSLIT{*this, "LBL_PERSLITSLIT", "Giorni di slittamento"};
    EditBox TXT_PERSLITSLIT{*this, "TXT_PERSLITSLIT"};
    GridNavigator GRIDNAV_PERIODI{*this, "GRIDNAV_PERIODI"};

    // ---- language descriptions ----
    Grid GRID_LINGUA{*this, "GRID_LINGUA"};
    GroupBox FRA_LINGUA{*this, "FRA_LINGUA", "Descrizione in lingua"};
    Label LBL_CODLINGUA{*this, "LBL_CODLINGUA", "Codice lingua"};
    LookupBox TXT_CODLINGUA{*this, "TXT_CODLINGUA"};
    EditBox TXT_DCODLINGUA{*this, "TXT_DCODLINGUA"};
    Label LBL_DESCRLINGUA{*this, "LBL_DESCRLINGUA", "Descrizione in lingua"};
    EditBox TXT_DESCRLINGUA{*this, "TXT_DESCRLINGUA"};
    Label LBL_DESCRANALLINGUA{*this, "LBL_DESCRANALLINGUA", "Descrizione analitica"};
    EditBox TXT_DESCRANALLINGUA{*this, "TXT_DESCRANALLINGUA"};
    GridNavigator GRIDNAVL{*this, "GRIDNAVL"};

    // ---- record navigator and layout ----
    RecordNavigator INTERNAV{*this, "INTERNAV"};
    LayoutControl LAY_CONDPAG{*this, "LAY_CONDPAG"};

    // ---- data frames, record sets, format objects ----
    DataFrame FME_CONDPAGDES{"FME_CONDPAGDES"};
    DataFrame FME_DETTAGLIO{"FME_DETTAGLIO"};
    DataFrame FME_PERSLIT{"FME_PERSLIT"};
    DataFrame FME_LINGUA{"FME_LINGUA"};
    Recordset Grst_RecordSet_CG62;
    Recordset Grst_RecordSet_CG63;
    Recordset Grst_RecordSet_CG65;
    Recordset Grst_RecordSet_CG6B;
    std::unique_ptr<StdDataFormat> Pobj_GridCondPag_GGMMFIX;
    std::unique_ptr<StdDataFormat> Pobj_GridPerSlit_DAGGMM;
    std::unique_ptr<StdDataFormat> Pobj_GridPerSlit_AGGMM;
    std::unique_ptr<StdDataFormat> Pobj_GridPerSlit_GGMMSCAD;

    // ---- life cycle (life_cycle.cpp) ----
    void Form_Load();
    void Form_Activate();
    void Form_QueryUnload(bool& cancel);
    void Form_Unload();
    void Form_DblClick();
    // The container of a non-modal window asks where to put it.
    void MDIActiveX1_Place();
    // The message routine: text, style, title, procedure name; answers the button code.
    Answer ShowMessage(const std::string& text, int style, const std::string& title,
                       const std::string& procedure = "") override;
    // Shows an unexpected error of a procedure; answers whether to go on, retry or leave.
    ErrorChoice VisualizzaErrore(const std::string& procedure, const Error& error);
    Value ExecuteFormEvent(const std::string& event_name);
    void FME_CONDPAGDES_ChangeStatus(FrameStatus status, ChangeReason reason);
    void FME_CONDPAGDES_AfterAddNew(bool result);
    void TXT_CODICE_AfterItem();
    void TabCondPag_Click();
    bool SingleInstallmentMode() const { return single_installment_; }
    bool loaded() const { return loaded_; }
    bool unloaded() const { return unloaded_; }
    // Where the window places itself (twips).
    int WindowLeft = 0, WindowTop = 0, WindowWidth = 0, WindowHeight = 0;
    std::string ConnectionString() const { return connection_string_; }

    // ---- detail sets (details.cpp) ----
    void OpenDetailsEmpty();
    void LoadDetailsForCode();
    void RekeyDetails();
    std::int16_t ContaRate(const std::string& code);
    void FME_CONDPAGDES_BeforeUpdate(bool& cancel);
    void FME_CONDPAGDES_AfterUpdate(bool result);
    void FME_CONDPAGDES_IsRecordChanged(bool& changed);
    void FME_DETTAGLIO_UpdateBatchAll();
    void FME_PERSLIT_UpdateBatchAll();
    void FME_LINGUA_UpdateBatchAll();
    // A detail row changed or confirmed changes the term shown: the header leaves view status,
    // so that the host's toolbar offers "Salva" and "Annulla".
    void HeaderFollowsDetail(const DataFrame& detail, FrameStatus detail_status);
    // The host's media manager reports a new media item for the term shown.

    // ---- deletion (deletion.cpp) ----
    void FME_CONDPAGDES_BeforeDelete(bool& cancel);
    void FME_CONDPAGDES_AfterDelete(bool result);

    // ---- installments (installments.cpp) ----
    void FME_DETTAGLIO_BeforeAddNew(bool& cancel);
    void FME_DETTAGLIO_AfterAddNew(bool result);
    void FME_DETTAGLIO_BeforeUpdate(bool& cancel);
    void FME_DETTAGLIO_AfterUpdate(bool result);
    void FME_DETTAGLIO_AfterDelete(bool result);
    void FME_DETTAGLIO_ChangeStatus(FrameStatus status, ChangeReason reason);
    void CMB_TIPODECORR_Click();
    void CMB_TIPODECORR_Change(const std::string& code);
    void CMB_FLGFRPERCIMP_Click();
    void CMB_FLGFRPERCIMP_Change(const std::string& code);
    void CMB_FLGFRPERCIVA_Click();
    void CMB_FLGFRPERCIVA_Change(const std::string& code);
    void CMB_TIPOIMPFIX_Click();
    void CMB_TIPOIMPFIX_Change(const std::string& code);
    void CMB_TIPOIMPFIX_KeyDown(int& key, int shift);
    void CMB_TIPO_Click();
    void CMB_TIPO_Change(const std::string& code);
    void TXT_SOTTOTIPO_StartDecode(DecodeRequest& request);
    void TXT_SOTTOTIPO_StartLookup(LookupRequest& request);
    void TXT_SOTTOTIPO_FunctionKey(const std::string& key_name);
    void TXT_GGSCADFIX1_LostFocus();
    void TXT_GGSCADFIX2_LostFocus();
    void TXT_GGMMFIX_LostFocus();
    void TXT_GGSCADFIX2_KeyDown(int& key, int shift);
    void TXT_IMPFIX_KeyDown(int& key, int shift);
    void TXT_SCART26_KeyDown(int& key, int shift);
    void TXT_DESCANAL_KeyDown(int& key, int shift);
    void CHK_DESAUTOM_Change();
    void MemorizzaRata();
    void RinumeraRate();
    void ConfermaDaTastiera();
    void MostraTotali();
    bool TotaliCompleti() const;
    // The automatic description of the installments; nullopt keeps the description in place.
    std::optional<std::string> DescrizioneAutomatica() const;
    // Writes the automatic description into the header when the flag is ticked.
    void RefreshDescription();
    // A total passed through the host's number normaliser (3, 4, 5).
    double NormaliseTotal(double total) const;

    // ---- record checks (checks.cpp) ----
    void FME_DETTAGLIO_ValidateRecord(Control*& control, std::string& message);
    void FME_PERSLIT_ValidateRecord(Control*& control, std::string& message);
    void FME_CONDPAGDES_ValidateRecord(Control*& control, std::string& message);
    // What the checks read of the window.
    std::string text(std::string_view control) const override;
    bool installment_is_new() const override;
    int installation_profile() const override;
    const Record& current_installment() const override;
    std::vector<Record> installments() const override;
    const Record& remembered_installment() const override { return remembered_; }
    const Record& header() const override;

    // ---- shift periods and languages (periods_languages.cpp) ----
    void FME_PERSLIT_AfterAddNew(bool result);
    void FME_PERSLIT_ChangeStatus(FrameStatus status, ChangeReason reason);
    void TXT_PERSLITDAGGMM_LostFocus();
    void TXT_PERSLITAGGMM_LostFocus();
    void TXT_PERSLITGGMMSCAD_LostFocus();
    void CMB_TIPOSLIT_Click();
    void CMB_TIPOSLIT_Change(const std::string& code);
    void TXT_PERSLITGGMMSCAD_KeyDown(int& key, int shift);
    void TXT_PERSLITSLIT_KeyDown(int& key, int shift);
    void FME_LINGUA_AfterAddNew(bool result);
    void FME_LINGUA_ChangeStatus(FrameStatus status, ChangeReason reason);
    void TXT_CODLINGUA_AfterItem();
    void TXT_CODLINGUA_StartLookup(LookupRequest& request);
    void TXT_CODLINGUA_StartDecode(DecodeRequest& request);
    void TXT_DESCRANALLINGUA_KeyDown(int& key, int shift);

    // ---- grids and format objects (grids.cpp) ----
    void DefineInstallmentColumns();
    void DefinePeriodColumns();
    void DefineLanguageColumns();
    void GRID_CONDPAG_CellDisplay(const std::string& column, std::string& text);
    void GRID_PERSLIT_CellDisplay(const std::string& column, std::string& text);
    void GRID_LINGUA_KeyDown(int& key, int shift);
    static void DayMonth_Format(DataValue& value);
    static void DayMonth_UnFormat(DataValue& value);

    // ---- navigation and printing (navigation.cpp) ----
    void EnablingRule();
    void NextTab();
    void PreviousTab();
    void INTERNAV_Click(const std::string& key);
    void INTERNAV_AfterClick(bool success, const std::string& key);
    void GRIDNAV_RATE_AfterButtonClick(bool success, const std::string& key);
    void GRIDNAV_PERIODI_AfterButtonClick(bool success, const std::string& key);
    void GRIDNAVL_AfterButtonClick(bool success, const std::string& key);
    void SuggerisciPeriodo();
    // Hands the code back to the calling program after the frame confirms its row.
    void EsportaCodice(DataFrame& frame);
    void InvocaStampa();
    void TXT_CODICE_Change();
    void TXT_CODICE_StartLookup(LookupRequest& request);

    // ---- layout (layout.cpp) ----
    void LAY_CONDPAG_Registration();
    void LAY_CONDPAG_ResizeQuery(bool& allow);

    // ---- secondary windows (generation.cpp) ----
    void CMD_GENERA_Click();
    void ApriSottotipi();

    // ---- what the secondary windows reach of the editor ----
    Connection& OwnerConnection() override { return connection_; }
    std::string OwnerConnectionString() const override { return connection_string_; }
    Cinterface* OwnerInterface() const override { return host_; }
    CLSCO_CONDPAG* OwnerComponent() const override { return component_; }
    Recordset& InstallmentSet() override { return Grst_RecordSet_CG63; }
    DataFrame& InstallmentFrame() override { return FME_DETTAGLIO; }
    Grid& InstallmentGrid() override { return GRID_CONDPAG; }
    std::string CodeText() const override { return TXT_CODICE.text(); }

    MessageService* Messages() const { return messages_; }
    Connection& WindowConnection() { return connection_; }

  private:
    struct DetailSet;
    std::vector<DetailSet> detail_sets();
    void configure_controls();
    void connect_handlers();
    void load_choice_lists();
    bool setup_frames(const std::string& procedure);  // false: the load is left
    void activate_in_host();
    std::string code() const;  // the right-trimmed code box
    std::string translate(const std::string& text) const;
    // Runs one step of a procedure that reports its errors: retried on 4, skipped on 2,
    // otherwise the procedure is left (answers false).
    bool step(const std::string& procedure, const std::function<Status()>& run);
    // Writes columns of the current row of a detail frame without counting as user edits.
    void write_columns(DataFrame& frame, const std::vector<std::pair<std::string_view, Value>>&,
                       const std::vector<Control*>& boxes);
    void show_share_boxes(const std::string& form, EditBox& percent, EditBox& numerator,
                          EditBox& denominator);
    void share_kind_picked(ComboBox& list, std::string_view percent_column,
                           std::string_view numerator_column, std::string_view denominator_column,
                           EditBox& percent, EditBox& numerator, EditBox& denominator);
    void installment_key_flow(int& key, int shift);
    bool day_box_invalid(std::initializer_list<EditBox*> boxes, Control*& control,
                         std::string& message);

    Cinterface* host_ = nullptr;
    CLSCO_CONDPAG* component_ = nullptr;
    std::function<std::string()> codice_pagamento_;
    SecondaryWindows* secondary_ = nullptr;
    ModalSecondaryWindows default_secondary_;
    MessageService* messages_ = nullptr;
    std::unique_ptr<MessageService> own_messages_;
    std::unique_ptr<LookupRunner> own_lookup_runner_;
    std::unique_ptr<LookupService> language_lookup_;
    std::unique_ptr<LookupService> language_decode_;
    std::unique_ptr<LookupService> term_lookup_;
    Connection connection_;
    bool has_connection_ = false;
    bool inserting_header_ = false;  // the save under way writes a new header
    std::string connection_string_;
    std::string source_cg63_, source_cg65_, source_cg6b_;
    bool single_installment_ = false;
    bool activated_once_ = false;
    bool loaded_ = false;
    bool unloaded_ = false;
    Record remembered_;
    mutable Record current_cache_;
    mutable Record header_cache_;
};

}  // namespace condpag
