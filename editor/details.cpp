// The three detail sets follow the term shown in the header: emptied for a search or a new term,
// reloaded for the code shown, re-keyed when a new code is typed, confirmed, written and read
// again together with the header.

#include "editor/FRMCO_CONDPAG.h"
#include "framework/host.h"
#include "framework/message_service.h"
#include "rules/records.h"
#include "storage/statements.h"

namespace condpag {

struct FRMCO_CONDPAG::DetailSet {
    DataFrame& frame;
    Recordset& set;
    std::string& source;
    const char* empty_statement;
    std::string (*load_statement)(std::string_view);
    std::string_view key_column;
};

// Installments, shift periods, languages: the order in which the details are always handled.
std::vector<FRMCO_CONDPAG::DetailSet> FRMCO_CONDPAG::detail_sets() {
    return {{FME_DETTAGLIO, Grst_RecordSet_CG63, source_cg63_, kInstallmentsEmpty,
             load_installments_statement, db::CG63_CODPAG_CG62},
            {FME_PERSLIT, Grst_RecordSet_CG65, source_cg65_, kPeriodsEmpty, load_periods_statement,
             db::CG65_CODPAG_CG62},
            {FME_LINGUA, Grst_RecordSet_CG6B, source_cg6b_, kLanguagesEmpty,
             load_languages_statement, db::CG6B_CODICE_CG62}};
}

// Errors are set aside in the detail handlers: a step that fails is skipped and the next runs.
// The frame lets go of its set and an open set is closed before it is opened again, as ADO asks;
// the headless frame takes its set back on Reload and the set drops its rows on Open all the
// same, so neither step changes anything a person sees. Loading for a code does the same.
void FRMCO_CONDPAG::OpenDetailsEmpty() {
    for (DetailSet d : detail_sets()) {
        d.source = d.empty_statement;
        d.frame.Release();
        if (d.set.State() == ObjectState::Open) d.set.Close();
        ignore_error_by_design(d.set.Open(d.source, connection_));
        d.frame.Reload(d.source);
    }
}

void FRMCO_CONDPAG::LoadDetailsForCode() {
    const std::string term = code();
    for (DetailSet d : detail_sets()) {
        d.source = d.load_statement(term);
        d.frame.Release();
        if (d.set.State() == ObjectState::Open) d.set.Close();
        ignore_error_by_design(d.set.Open(d.source));
        d.frame.Reload(d.source);
    }
}

void FRMCO_CONDPAG::RekeyDetails() {
    const std::string term = code();
    for (DetailSet d : detail_sets()) {
        // The frame's source text names the new code for a framework that re-reads from it; the
        // headless frame keeps the rows it has, so only the key columns below show.
        d.source = d.load_statement(term);
        d.frame.SetSourceText(d.source);
        d.frame.SuspendSync();
        for (d.set.MoveFirst(); !d.set.IsEOF(); d.set.MoveNext())
            d.set.SetField(d.key_column, term);
        d.frame.ResumeSync();
    }
}

std::int16_t FRMCO_CONDPAG::ContaRate(const std::string& term) {
    // A count that could not be read locks nothing: only two or more installments do.
    std::int16_t count = 0;
    step("ContaRate", [&]() -> Status {
        auto counted = condpag::ContaRate(connection_, term);
        if (!counted) return counted.error();
        count = *counted;
        return success();
    });
    return count;
}

void FRMCO_CONDPAG::FME_CONDPAGDES_BeforeUpdate(bool& cancel) {
    // A session the server dropped is replaced here, before the save's first statement, and
    // never between its steps.
    if (auto reopened = connection_.ReopenIfDropped(); !reopened) {
        ShowMessage("Impossibile salvare la condizione di pagamento: " + reopened.error().message,
                    kStyleStop, "Attenzione");
        cancel = true;
        return;
    }
    inserting_header_ = FME_CONDPAGDES.Status() == FrameStatus::Insert;
    for (DataFrame* detail : {&FME_DETTAGLIO, &FME_PERSLIT, &FME_LINGUA}) {
        if (cancel) break;
        if (detail->RowPending() || detail->BatchPending()) {
            cancel = !detail->ConfirmRow(true, true, true);
        }
    }
}

void FRMCO_CONDPAG::FME_CONDPAGDES_AfterUpdate(bool result) {
    if (!result) return;
    // A new header's code had no term: rows stored under it belong to no one and would join the
    // new term, so they go before its own rows are written.
    if (inserting_header_) {
        for (const Error& error : delete_term_details(connection_, code())) {
            ShowMessage(
                "Righe di dettaglio rimaste da una condizione di pagamento eliminata con "
                "lo stesso codice non sono state rimosse: " +
                    error.message,
                kStyleStop, "Attenzione");
        }
    }
    for (DataFrame* detail : {&FME_DETTAGLIO, &FME_PERSLIT, &FME_LINGUA}) detail->SaveRows();
}

void FRMCO_CONDPAG::HeaderFollowsDetail(const DataFrame& detail, FrameStatus detail_status) {
    bool changed = detail_status == FrameStatus::Change ||
                   (detail_status == FrameStatus::View && detail.BatchPending());
    if (changed && FME_CONDPAGDES.Status() == FrameStatus::View) FME_CONDPAGDES.Update();
}

void FRMCO_CONDPAG::FME_CONDPAGDES_IsRecordChanged(bool& changed) {
    if (FME_CONDPAGDES.Status() != FrameStatus::View) return;
    for (DataFrame* detail : {&FME_DETTAGLIO, &FME_PERSLIT, &FME_LINGUA}) {
        if (detail->RowPending() || detail->BatchPending()) changed = true;
    }
}

namespace {

// After a detail frame wrote its rows (a begun row it ended before writing): a list with rows is
// shown again, an empty one waits in insert status for its first row.
void after_detail_write(DataFrame& frame, const Recordset& set) {
    if (!frame.BatchPending()) return;
    if (set.RecordCount() != 0) {
        frame.Reload("");
    } else {
        frame.SetStatus(FrameStatus::Insert);
    }
}

}  // namespace

void FRMCO_CONDPAG::FME_DETTAGLIO_UpdateBatchAll() {
    after_detail_write(FME_DETTAGLIO, Grst_RecordSet_CG63);
}

void FRMCO_CONDPAG::FME_PERSLIT_UpdateBatchAll() {
    after_detail_write(FME_PERSLIT, Grst_RecordSet_CG65);
}

void FRMCO_CONDPAG::FME_LINGUA_UpdateBatchAll() {
    after_detail_write(FME_LINGUA, Grst_RecordSet_CG6B);
}

}  // namespace condpag
