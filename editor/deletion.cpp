// Deleting a term: the places of the host that may use it are searched first; only when none
// does, its shift periods, installments and language descriptions go, then the header row.

#include "editor/FRMCO_CONDPAG.h"
#include "storage/deletion_guard.h"

namespace condpag {

void FRMCO_CONDPAG::FME_CONDPAGDES_BeforeDelete(bool& cancel) {
    DeletionOutcome outcome = guard_and_delete_details(
        connection_, code(), [this](const std::string& text) { return translate(text); });
    if (!outcome.verdict.refused) return;
    ShowMessage(outcome.verdict.message, kDeletionRefusedStyle, kDeletionRefusedTitle);
    cancel = true;
}

}  // namespace condpag
