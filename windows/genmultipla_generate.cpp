// GeneraRate: the run of installments appended to the editor's installment record set.

#include "framework/data_frame.h"
#include "framework/grid.h"
#include "rules/generation.h"
#include "windows/FRMCO_GENMULTIPLA.h"

namespace condpag {

void FRMCO_GENMULTIPLA::GeneraRate() {
    // Every number box is bound to the window's frame, which keeps the focus in a box until what
    // it holds reads as a number: no unreadable number gets this far to be taken as 0.
    const FormTexts request(*this);
    if (std::string refused = ControllaGenerazione(request); !refused.empty()) {
        if (owner_ != nullptr) {
            owner_->ShowMessage(std::string(kGenerazioneNonCorretta), kStileGenerazione,
                                std::string(kTitoloGenerazione), "");
        }
        if (Control* box = find(refused)) box->SetTextFocus();
        return;
    }
    if (owner_ == nullptr) return;

    condpag::Recordset& installments = owner_->InstallmentSet();
    if (installments.State() == ObjectState::Open) {
        DataFrame& frame = owner_->InstallmentFrame();
        // A new installment begun in the editor and not confirmed is dropped, not kept. It goes
        // before the frame lets go of the set, which would otherwise begin it again afterwards.
        if (frame.Status() == FrameStatus::Insert && installments.editing()) {
            installments.CancelUpdate();
        }
        frame.SuspendSync();

        // The new rows are numbered on from the last; adding the first one confirms a row
        // still being changed.
        const int base = static_cast<int>(installments.RecordCount());
        for (const GeneratedRow& row : RigheGeneraRate(request, owner_->CodeText(), base)) {
            installments.AddNew();
            for (const auto& [column, value] : row) installments.SetField(column, value);
            installments.Update();
        }

        frame.ResumeSync();
        frame.Reload("");  // the installment grid, the frame's own, shows the set anew
        frame.CheckKey(true, true);
        // The new rows are confirmed rows still to be written by the term's confirmation.
        frame.SetBatchPending(true);
        Close();
    }
    result_ = true;
}

}  // namespace condpag
