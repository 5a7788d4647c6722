// The preview dock beside the editor: from an installment's days typed in the editor to the
// dock's table showing the new due dates, on a term of 12 installments with 4 shift periods.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateEdit>
#include <QTableWidget>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "editor/FRMCO_CONDPAG.h"
#include "framework/host.h"
#include "framework/message_service.h"
#include "storage/demo_data.h"
#include "storage/schema.h"
#include "ui/editor_view.h"
#include "ui/preview_panel.h"

namespace condpag {
namespace {

constexpr const char* kCode = "RB12";

// The demo database with one more term: twelve monthly Ri.Ba., a twelfth each, and shift
// periods in April, June, August and December. Made once per run, removed at exit.
struct BenchDatabase {
    BenchDatabase() {
        folder = (std::filesystem::temp_directory_path() / "condpag_preview_panel_bench").string();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        connection_string = "sqlite:" + folder + "/preview.db";
        auto opened = open_database(connection_string, true);
        if (!opened) {
            error = opened.error().message;
            return;
        }
        std::vector<std::vector<Value>> installments;
        for (int n = 1; n <= 12; ++n) {
            installments.push_back({kCode, n, 2, 1, 1, 30 * n, 5, 0, 0, 1, 12, 0, 1, 12, 0});
        }
        Status done = insert_rows(
            *opened, "CG62_CONDPAGDES",
            {"CG62_CODPAG", "CG62_DESCPAG", "CG62_FLGDESC", "CG62_FLGSTORNOIVA", "CG62_FLGDISGG"},
            {{kCode, "Ri.Ba. 12 rate mensili f.m.", 0, 0, 0}});
        if (done) {
            done = insert_rows(
                *opened, "CG63_CONDPAGDET",
                {"CG63_CODPAG_CG62", "CG63_PROG", "CG63_TIPOEFF", "CG63_STIPOEFF",
                 "CG63_INDTIPODECOR", "CG63_GGDECOR", "CG63_INDDATARIF", "CG63_INDTIPOCALEND",
                 "CG63_FLGFRPERCIMP", "CG63_EL1FRIMP", "CG63_EL2FRIMP", "CG63_FLGFRPERCIVA",
                 "CG63_EL1FRIVA", "CG63_EL2FRIVA", "CG63_INDIMPFIX"},
                installments);
        }
        if (done) {
            done = insert_rows(*opened, "CG65_PAGSLITANAL",
                               {"CG65_CODPAG_CG62", "CG65_DAMMGG", "CG65_AMMGG", "CG65_INDTIPOSLIT",
                                "CG65_GGMMFIXSLIT", "CG65_GGSLSUCC"},
                               {{kCode, 401, 410, 1, Value(), 5},
                                {kCode, 601, 615, 4, Value(), 20},
                                {kCode, 801, 831, 2, Value(), 0},
                                {kCode, 1201, 1231, 3, 110, 0}});
        }
        if (!done) error = done.error().message;
    }
    ~BenchDatabase() { std::filesystem::remove_all(folder); }

    std::string folder;
    std::string connection_string;
    std::string error;
};

BenchDatabase& database() {
    static BenchDatabase db;
    return db;
}

// The editor on the 12-installment term with its Qt view, and the dock following it, as in the
// shell; `error` tells why it could not be set up.
struct EditorWithPanel {
    EditorWithPanel() {
        if (!database().error.empty()) {
            error = database().error;
            return;
        }
        global.SetConnectionString(database().connection_string);
        global.SetMessageObject(&messages);
        host.SetClsGlobal(&global);
        host.SetActiveNavigator(&navigator);
        w.SetInterface(&host);
        w.Form_Load();
        w.Form_Activate();
        view = std::make_unique<ui::EditorView>(w);
        view->show();
        panel.invoice_date()->setDate(QDate(2027, 1, 15));
        panel.show();
        panel.follow(&w);
        if (!w.INTERNAV.user_click("Cerca") || !w.TXT_CODICE.user_type(kCode) ||
            !w.INTERNAV.user_click("Trova") || w.Grst_RecordSet_CG63.records().size() != 12 ||
            w.Grst_RecordSet_CG65.records().size() != 4) {
            error = "the term with 12 installments and 4 shift periods did not open";
            return;
        }
        QApplication::processEvents();
        if (panel.table()->rowCount() != 12) error = "the panel shows no rows";
    }
    ~EditorWithPanel() {
        w.INTERNAV.user_click("Annulla");
        panel.follow(nullptr);
        view.reset();
    }
    QString first_due() const { return panel.table()->item(0, 2)->text(); }

    HeadlessGlobal global;
    HeadlessMessageService messages;
    HeadlessInterface host;
    HeadlessNavigator navigator;
    FRMCO_CONDPAG w;
    std::unique_ptr<ui::EditorView> view;
    ui::PreviewPanel panel;
    std::string error;
};

// From the days typed in the editor to the dock showing the new first due date: the editor's
// handlers, the view's widgets and the dock's refresh on the next turn of the event loop.
void BM_TypedDaysShownInThePanel(benchmark::State& state) {
    EditorWithPanel on;
    if (!on.error.empty()) {
        state.SkipWithError(on.error.c_str());
        return;
    }
    // The first installment moves between 30 and 60 days from 15/01/2027: 28/02 or 31/03, so
    // each turn shows another first due date (neither inside a shift period).
    bool longer = true;
    for (auto _ : state) {
        const QString before = on.first_due();
        on.w.TXT_GGDECOR.user_type(longer ? "60" : "30");
        longer = !longer;
        for (int turns = 0; on.first_due() == before && turns < 100; ++turns) {
            QApplication::processEvents();
        }
        if (on.first_due() == before) {
            state.SkipWithError("the panel did not show the new due date");
            break;
        }
    }
}
BENCHMARK(BM_TypedDaysShownInThePanel)->Unit(benchmark::kMicrosecond);

// The dock's share alone: reading the record sets and subtypes, the preview, filling the table.
void BM_PanelRefreshAlone(benchmark::State& state) {
    EditorWithPanel on;
    if (!on.error.empty()) {
        state.SkipWithError(on.error.c_str());
        return;
    }
    for (auto _ : state) {
        on.panel.refresh();
        benchmark::DoNotOptimize(on.panel.table()->rowCount());
    }
}
BENCHMARK(BM_PanelRefreshAlone)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace condpag

int main(int argc, char** argv) {
    // No display is needed: the widgets draw offscreen as in the shell's screenshots.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
