#pragma once
// The generation window: the number of installments and one set of installment values, from
// which GeneraRate appends a run of alike installments to the editor's installment record set.
//
// Opening (by the editor): build it, set the owner, show it modally (Show, then the person works,
// then Unload), read result(), destroy it. The subtypes window opened from the subtype box
// (function key "Kgestione") is shown through the modal runner the opener gives.

#include <string>

#include "framework/choice_controls.h"
#include "framework/data_frame.h"
#include "framework/edit_box.h"
#include "framework/layout_control.h"
#include "framework/secondary_window.h"
#include "windows/form_texts.h"
#include "windows/modal_window.h"

namespace condpag {

class FRMCO_GENMULTIPLA : public ModalWindow {
  public:
    FRMCO_GENMULTIPLA();
    ~FRMCO_GENMULTIPLA() override;

    // Input, handed in by the editor before the window is shown.
    void set_owner(SecondaryWindowOwner* owner) { owner_ = owner; }
    SecondaryWindowOwner* owner() const { return owner_; }
    // How the subtypes window is shown; without one it is shown and closed at once.
    void set_modal_runner(ModalRunner runner) { modal_runner_ = std::move(runner); }

    // True once GeneraRate has run to its end; false from load until then.
    bool result() const { return result_; }

    // Fields, in tab order.
    EditBox TXT_NUMERORATE{*this, "TXT_NUMERORATE"};
    ComboBox CMB_TIPO{*this, "CMB_TIPO"};
    LookupBox TXT_SOTTOTIPO{*this, "TXT_SOTTOTIPO"};
    EditBox TXT_DECODSTIPO{*this, "TXT_DECODSTIPO"};
    ComboBox CMB_CALENDARIO{*this, "CMB_CALENDARIO"};
    ComboBox CMB_TIPODECORR{*this, "CMB_TIPODECORR"};
    EditBox TXT_GGDECOR{*this, "TXT_GGDECOR"};
    ComboBox CMB_DATARIF{*this, "CMB_DATARIF"};
    EditBox TXT_GGMMFIX{*this, "TXT_GGMMFIX"};
    ComboBox CMB_FLGFRPERCIMP{*this, "CMB_FLGFRPERCIMP"};
    EditBox TXT_IMP{*this, "TXT_IMP"};
    EditBox TXT_NUMIMP{*this, "TXT_NUMIMP"};
    EditBox TXT_DENIMP{*this, "TXT_DENIMP"};
    ComboBox CMB_FLGFRPERCIVA{*this, "CMB_FLGFRPERCIVA"};
    EditBox TXT_IVA{*this, "TXT_IVA"};
    EditBox TXT_NUMIVA{*this, "TXT_NUMIVA"};
    EditBox TXT_DENIVA{*this, "TXT_DENIVA"};
    ComboBox CMB_TIPOIMPFIX{*this, "CMB_TIPOIMPFIX"};
    EditBox TXT_IMPFIX{*this, "TXT_IMPFIX"};
    EditBox TXT_DAGGFIX1{*this, "TXT_DAGGFIX1"};
    EditBox TXT_AGGFIX1{*this, "TXT_AGGFIX1"};
    EditBox TXT_GGSCADFIX1{*this, "TXT_GGSCADFIX1"};
    EditBox TXT_DAGGFIX2{*this, "TXT_DAGGFIX2"};
    EditBox TXT_AGGFIX2{*this, "TXT_AGGFIX2"};
    EditBox TXT_GGSCADFIX2{*this, "TXT_GGSCADFIX2"};
    // Commands.
    CommandButton CMD_ANNULLA{*this, "CMD_ANNULLA", "&Annulla"};
    CommandButton CMD_GENERA{*this, "CMD_GENERA", "&Genera"};
    LayoutControl LAYOUT{*this, "LAYOUT"};

    // The window's own frame: unbound fields, no record set.
    DataFrame FME_GENMULTIPLA{"FME_GENMULTIPLA"};

    // Checks the values and appends the installments to the editor's record set.
    void GeneraRate();

    // Handlers.
    void CMD_GENERA_Click();
    void CMD_ANNULLA_Click();
    void CMB_TIPODECORR_Click();
    void CMB_TIPODECORR_Change();
    void CMB_FLGFRPERCIMP_Click();
    void CMB_FLGFRPERCIMP_Change();
    void CMB_FLGFRPERCIVA_Click();
    void CMB_FLGFRPERCIVA_Change();
    void CMB_TIPOIMPFIX_Click();
    void CMB_TIPOIMPFIX_Change(const std::string& code);
    void CMB_TIPO_Click();
    void CMB_TIPO_Change();
    void TXT_NUMERORATE_LostFocus();
    void TXT_GGMMFIX_LostFocus();
    void TXT_GGSCADFIX1_LostFocus();
    void TXT_GGSCADFIX2_LostFocus();
    void TXT_IMPFIX_LostFocus();
    void CMB_TIPOIMPFIX_KeyDown(int& key, int shift);
    void TXT_IMPFIX_KeyDown(int& key, int shift);
    void TXT_GGSCADFIX2_KeyDown(int& key, int shift);
    void TXT_SOTTOTIPO_StartDecode(DecodeRequest& request);
    void TXT_SOTTOTIPO_StartLookup(LookupRequest& request);
    void TXT_SOTTOTIPO_FunctionKey(const std::string& key_name);

  protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload() override;

  private:
    void set_up_controls();
    void connect_handlers();
    void set_defaults();
    std::string start_rule() const;
    // Enter or Tab out of the last fields: from "&Annulla" on to "&Genera" when it can run.
    void suggest_generate(int key, int shift);
    // Empties boxes that do not apply, as code does: their changed flags stay clear.
    static void empty_boxes(std::initializer_list<EditBox*> boxes);
    // Shows the percentage box or the two fraction boxes of a share form.
    static void show_share_boxes(const std::string& form, EditBox& percentage, EditBox& numerator,
                                 EditBox& denominator);
    // Empties the boxes a newly picked share form leaves out: the percentage for a fraction, the
    // two fraction boxes for a percentage.
    static void empty_share_boxes(const std::string& form, EditBox& percentage, EditBox& numerator,
                                  EditBox& denominator);

    SecondaryWindowOwner* owner_ = nullptr;
    Cinterface* host_ = nullptr;
    ModalRunner modal_runner_;
    DataFrame* host_frame_before_ = nullptr;
    bool result_ = false;
    bool activated_ = false;
};

}  // namespace condpag
