#pragma once
// The payment subtypes window: the subtypes (CG64_SOTTOTIPO) of one payment type, listed in a
// grid and edited one at a time in the detail boxes. It writes its own table through its own data
// frame; the window that opened it is left as it was.
//
// Opening: build it, set owner, host interface, component and payment type in this order, show
// it modally (Show, then the person works, then Unload), destroy it.

#include <optional>
#include <string>
#include <string_view>

#include "framework/choice_controls.h"
#include "framework/data_frame.h"
#include "framework/edit_box.h"
#include "framework/grid.h"
#include "framework/layout_control.h"
#include "framework/lookup_runner.h"
#include "framework/navigators.h"
#include "framework/secondary_window.h"
#include "storage/recordset.h"
#include "windows/modal_window.h"

namespace condpag {

// One payment mode of electronic invoices to public bodies: label and stored value.
struct PaymentMode {
    std::string_view label;
    int value;
};
// The thirteen payment modes, in list order.
extern const PaymentMode kModiPagamentoFatturaPA[13];

inline constexpr std::string_view kCodiceZero = "Il codice non può avere valore 0";

class FRMCO_SOTTOTIPI : public ModalWindow {
  public:
    FRMCO_SOTTOTIPI();
    ~FRMCO_SOTTOTIPI() override;

    // Inputs, handed in by the opener before the window is shown.
    void set_owner(SecondaryWindowOwner* owner) { owner_ = owner; }
    void set_host(Cinterface* host) { host_ = host; }
    void set_component(CLSCO_CONDPAG* component) { component_ = component; }
    void set_payment_type(std::string type) { payment_type_ = std::move(type); }

    SecondaryWindowOwner* owner() const { return owner_; }
    Cinterface* host() const { return host_; }
    CLSCO_CONDPAG* component() const { return component_; }
    const std::string& payment_type() const { return payment_type_; }
    const condpag::Recordset& recordset() const { return recordset_; }

    // Detail area.
    ComboBox CMB_TIPO{*this, "CMB_TIPO"};
    EditBox TXT_CODICE{*this, "TXT_CODICE"};
    EditBox TXT_DESCRIZIONE{*this, "TXT_DESCRIZIONE"};
    EditBox TXT_GGOFFSET{*this, "TXT_GGOFFSET"};
    CheckBox CHK_ASSEGNO{*this, "CHK_ASSEGNO"};
    LookupBox TXT_STATO{*this, "TXT_STATO"};
    EditBox TXT_DESCRSTATO{*this, "TXT_DESCRSTATO"};
    LookupBox TXT_CODPAGUC{*this, "TXT_CODPAGUC"};
    EditBox TXT_DESCRCODPAGUC{*this, "TXT_DESCRCODPAGUC"};
    ComboBox CMB_INDMODFATTURAPA{*this, "CMB_INDMODFATTURAPA"};
    // List of the subtypes and its navigator.
    Grid GRID_SOTTOTIPI{*this, "GRID_SOTTOTIPI"};
    GridNavigator GRIDNAV{*this, "GRIDNAV"};
    LayoutControl LAYOUT{*this, "LAYOUT"};

    DataFrame FME_STIPOEFF{"FME_STIPOEFF"};

    // Fills CMB_INDMODFATTURAPA with the payment modes of electronic invoices.
    void CaricaModFatturaPA();

    // Handlers.
    void FME_STIPOEFF_AfterAddNew(bool result);
    void FME_STIPOEFF_ChangeStatus(FrameStatus status, ChangeReason reason);
    void TXT_CODICE_Validate(bool& cancel);
    void TXT_CODICE_Leave();
    void TXT_DESCRIZIONE_KeyDown(int& key, int shift);
    void GRID_SOTTOTIPI_KeyDown(int& key, int shift);
    void GRIDNAV_AfterButtonClick(bool success, const std::string& key);
    void GRID_SOTTOTIPI_CellDisplay(const std::string& column, std::string& text);
    void TXT_STATO_StartDecode(DecodeRequest& request);
    void TXT_STATO_StartLookup(LookupRequest& request);
    void TXT_CODPAGUC_StartDecode(DecodeRequest& request);
    void TXT_CODPAGUC_StartLookup(LookupRequest& request);

  protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(bool& cancel) override;
    void Form_Unload() override;

  private:
    void set_up_controls();
    void connect_handlers();
    void define_grid();
    // Hands a load error to the host; answers whether the window is to close.
    bool load_failed(const Error& error);
    std::string translate(const std::string& text) const;
    std::string connection_string() const;
    // The first value of the first row of a statement run on the owner's connection.
    std::optional<Value> first_value(const std::string& statement);

    SecondaryWindowOwner* owner_ = nullptr;
    Cinterface* host_ = nullptr;
    CLSCO_CONDPAG* component_ = nullptr;
    std::string payment_type_;
    condpag::Recordset recordset_;
    DataFrame* host_frame_before_ = nullptr;
    bool activated_ = false;
};

// Opens the subtypes of a payment type for a subtype box's management key ("Kgestione"): the
// window gets the opener, its host interface and component, and the type (right-trimmed), is
// shown through `run` (without one it is shown and closed at once) and released when it returns.
void ApriSottotipi(SecondaryWindowOwner& opener, const std::string& payment_type,
                   LookupRunner* lookups, const ModalRunner& run);

}  // namespace condpag
