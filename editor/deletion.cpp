// Deleting a term: either the whole term goes or nothing does. The header row must still be as
// it was read and no place of the host may use the code; then its shift periods, installments
// and language descriptions go, and the header frame deletes the header row, all in one
// transaction that the frame's AfterDelete commits or rolls back.

#include "editor/FRMCO_CONDPAG.h"
#include "storage/deletion_guard.h"

namespace condpag {

void FRMCO_CONDPAG::FME_CONDPAGDES_BeforeDelete(bool& cancel) {
    // A session the server dropped is replaced before the first statement, never later.
    if (auto reopened = connection_.ReopenIfDropped(); !reopened) {
        ShowMessage("Impossibile eliminare la condizione di pagamento " + code() + ": " +
                        reopened.error().message + ". Non è stato eliminato nulla.",
                    kDeletionRefusedStyle, kDeletionRefusedTitle);
        cancel = true;
        return;
    }
    DeletionOutcome outcome =
        begin_term_deletion(connection_, FME_CONDPAGDES.Recordset(), code(),
                            [this](const std::string& text) { return translate(text); });
    if (!outcome.verdict.refused) return;
    ShowMessage(outcome.verdict.message, kDeletionRefusedStyle, kDeletionRefusedTitle);
    cancel = true;
}

void FRMCO_CONDPAG::FME_CONDPAGDES_AfterDelete(bool result) {
    // Without the header row the details stay: the frame already said why it was not deleted.
    if (!connection_.in_transaction()) return;
    if (auto ended = end_term_deletion(connection_, result); !ended && result) {
        ShowMessage(
            "Impossibile eliminare la condizione di pagamento: la conferma "
            "dell'eliminazione non è riuscita (" +
                ended.error().message +
                "). Non è stato eliminato nulla: riaprire la finestra per rivederla.",
            kDeletionRefusedStyle, kDeletionRefusedTitle);
    }
}

}  // namespace condpag
