// The record events of the three frames hand the checks' verdicts to their frames, and the
// window shows the checks what they read: control texts, the installments and the header.

#include "editor/FRMCO_CONDPAG.h"
#include "rules/installment_checks.h"

namespace condpag {
namespace {

// The checks normalise totals the way the window shows them: through the host's normaliser.
class WindowNormaliser : public NumberNormaliser {
  public:
    explicit WindowNormaliser(const FRMCO_CONDPAG& window) : window_(window) {}
    double normalise(double value, int, int, int) const override {
        return window_.NormaliseTotal(value);
    }

  private:
    const FRMCO_CONDPAG& window_;
};

void hand_over(const Form& window, const Verdict& verdict, Control*& control,
               std::string& message) {
    control = verdict.control.empty() ? nullptr : window.find(verdict.control);
    message = verdict.message;
}

}  // namespace

// The day boxes are judged again on the text they show now: a person may confirm from a
// navigator without ever leaving the box.
bool FRMCO_CONDPAG::day_box_invalid(std::initializer_list<EditBox*> boxes, Control*& control,
                                    std::string& message) {
    for (EditBox* box : boxes) {
        if (box->valid() || !box->visible() || RTrimN(box->text()).empty()) continue;
        control = box;
        message = DataFrame::InvalidValueMessage(*box);
        return true;
    }
    return false;
}

void FRMCO_CONDPAG::FME_DETTAGLIO_ValidateRecord(Control*& control, std::string& message) {
    if (control != nullptr) return;  // the frame's own check already failed
    TXT_GGSCADFIX1_LostFocus();
    TXT_GGSCADFIX2_LostFocus();
    TXT_GGMMFIX_LostFocus();
    if (day_box_invalid({&TXT_GGSCADFIX1, &TXT_GGSCADFIX2, &TXT_GGMMFIX}, control, message)) {
        return;
    }
    hand_over(*this, condpag::FME_DETTAGLIO_ValidateRecord(*this, WindowNormaliser(*this)), control,
              message);
}

void FRMCO_CONDPAG::FME_PERSLIT_ValidateRecord(Control*& control, std::string& message) {
    if (control != nullptr) return;
    TXT_PERSLITGGMMSCAD_LostFocus();
    if (day_box_invalid({&TXT_PERSLITGGMMSCAD}, control, message)) return;
    hand_over(*this, condpag::FME_PERSLIT_ValidateRecord(*this), control, message);
}

void FRMCO_CONDPAG::FME_CONDPAGDES_ValidateRecord(Control*& control, std::string& message) {
    if (control != nullptr) return;
    hand_over(*this, condpag::FME_CONDPAGDES_ValidateRecord(*this), control, message);
}

std::string FRMCO_CONDPAG::text(std::string_view name) const {
    const Control* control = find(std::string(name));
    if (auto* box = dynamic_cast<const EditBox*>(control)) return box->text();
    if (auto* list = dynamic_cast<const ComboBox*>(control)) return list->text();
    if (auto* check = dynamic_cast<const CheckBox*>(control)) return check->text();
    return {};
}

bool FRMCO_CONDPAG::installment_is_new() const {
    return FME_DETTAGLIO.Status() == FrameStatus::Insert;
}

const Record& FRMCO_CONDPAG::current_installment() const {
    current_cache_ = Grst_RecordSet_CG63.State() == ObjectState::Open
                         ? Grst_RecordSet_CG63.current_record()
                         : Record();
    return current_cache_;
}

std::vector<Record> FRMCO_CONDPAG::installments() const {
    if (Grst_RecordSet_CG63.State() != ObjectState::Open) return {};
    return Grst_RecordSet_CG63.records();
}

const Record& FRMCO_CONDPAG::header() const {
    header_cache_ = Grst_RecordSet_CG62.State() == ObjectState::Open
                        ? Grst_RecordSet_CG62.current_record()
                        : Record();
    return header_cache_;
}

}  // namespace condpag
