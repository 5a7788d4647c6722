// The editor window on a large database (the demo data and 10,000 generated terms of two
// installments each): load to the first view, moving to another term, confirming one
// installment, and the deletion guard for a used and an unused term.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "editor/FRMCO_CONDPAG.h"
#include "framework/host.h"
#include "framework/message_service.h"
#include "storage/deletion_guard.h"
#include "storage/demo_data.h"
#include "storage/schema.h"

namespace condpag {
namespace {

constexpr int kTerms = 10000;

std::string term_code(int n) {
    char code[8];
    std::snprintf(code, sizeof code, "G%05d", n);
    return code;
}

// The database file, made once per run and removed at exit.
struct LargeDatabase {
    LargeDatabase() {
        folder = (std::filesystem::temp_directory_path() / "condpag_editor_bench").string();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        connection_string = "sqlite:" + folder + "/large.db";
        auto opened = open_database(connection_string, true);
        if (!opened) {
            error = opened.error().message;
            return;
        }
        Connection& connection = *opened;
        if (auto begun = connection.ExecuteChange("BEGIN"); !begun) {
            error = begun.error().message;
            return;
        }
        std::vector<std::vector<Value>> headers, installments;
        for (int t = 0; t < kTerms; ++t) {
            headers.push_back({term_code(t), "Ri.Ba. 30-60 generata", 0, 0, 0});
            for (int p = 1; p <= 2; ++p) {
                installments.push_back({term_code(t), p, 2, 1, 30 * p, 5, 0, 1, 50.0, 1, 50.0, 0});
            }
        }
        auto done = insert_rows(
            connection, "CG62_CONDPAGDES",
            {"CG62_CODPAG", "CG62_DESCPAG", "CG62_FLGDESC", "CG62_FLGSTORNOIVA", "CG62_FLGDISGG"},
            headers);
        if (done) {
            done = insert_rows(
                connection, "CG63_CONDPAGDET",
                {"CG63_CODPAG_CG62", "CG63_PROG", "CG63_TIPOEFF", "CG63_INDTIPODECOR",
                 "CG63_GGDECOR", "CG63_INDDATARIF", "CG63_INDTIPOCALEND", "CG63_FLGFRPERCIMP",
                 "CG63_PERCIMP", "CG63_FLGFRPERCIVA", "CG63_PERCIVA", "CG63_INDIMPFIX"},
                installments);
        }
        auto committed = connection.ExecuteChange("COMMIT");
        if (!done) {
            error = done.error().message;
        } else if (!committed) {
            error = committed.error().message;
        }
    }
    ~LargeDatabase() { std::filesystem::remove_all(folder); }

    std::string folder;
    std::string connection_string;
    std::string error;
};

LargeDatabase& database() {
    static LargeDatabase db;
    return db;
}

// A headless host with one editor window open in view status on the first term.
struct OpenEditor {
    OpenEditor() {
        global.SetConnectionString(database().connection_string);
        global.SetMessageObject(&messages);
        host.SetClsGlobal(&global);
        host.SetActiveNavigator(&navigator);
        window = std::make_unique<FRMCO_CONDPAG>();
        window->SetInterface(&host);
        window->Form_Load();
        window->Form_Activate();
    }
    HeadlessGlobal global;
    HeadlessMessageService messages;
    HeadlessInterface host;
    HeadlessNavigator navigator;
    std::unique_ptr<FRMCO_CONDPAG> window;
};

bool usable(benchmark::State& state) {
    if (database().error.empty()) return true;
    state.SkipWithError(database().error.c_str());
    return false;
}

void BM_LoadToFirstView(benchmark::State& state) {
    if (!usable(state)) return;
    for (auto _ : state) {
        OpenEditor editor;
        benchmark::DoNotOptimize(editor.window->FME_CONDPAGDES.Status());
    }
}
BENCHMARK(BM_LoadToFirstView)->Unit(benchmark::kMillisecond);

void BM_MoveToAnotherTerm(benchmark::State& state) {
    if (!usable(state)) return;
    OpenEditor editor;
    FRMCO_CONDPAG& w = *editor.window;
    for (auto _ : state) {
        if (!w.INTERNAV.user_click("Successivo")) w.INTERNAV.user_click("Primo");
        benchmark::DoNotOptimize(w.GRID_CONDPAG.row_count());
    }
}
BENCHMARK(BM_MoveToAnotherTerm)->Unit(benchmark::kMicrosecond);

void BM_ConfirmOneInstallment(benchmark::State& state) {
    if (!usable(state)) return;
    OpenEditor editor;
    FRMCO_CONDPAG& w = *editor.window;
    w.INTERNAV.user_click("Ultimo");
    bool lower = true;
    for (auto _ : state) {
        w.GRID_CONDPAG.user_select_row(1);
        w.TXT_IMP.user_type(lower ? "40" : "50");
        lower = !lower;
        if (!w.GRIDNAV_RATE.user_click("Conferma")) state.SkipWithError("installment refused");
    }
    w.INTERNAV.user_click("Annulla");
}
BENCHMARK(BM_ConfirmOneInstallment)->Unit(benchmark::kMicrosecond);

void BM_DeletionGuard(benchmark::State& state) {
    if (!usable(state)) return;
    auto connection = open_database(database().connection_string, false);
    if (!connection) {
        state.SkipWithError(connection.error().message.c_str());
        return;
    }
    // RB30FM is used only by the portfolio, the last place searched; a generated term by none.
    const std::string code = state.range(0) == 1 ? "RB30FM" : term_code(kTerms / 2);
    for (auto _ : state) {
        UsageVerdict verdict =
            find_usage(*connection, code, [](const std::string& text) { return text; });
        if (verdict.refused != (state.range(0) == 1)) state.SkipWithError("unexpected verdict");
    }
}
BENCHMARK(BM_DeletionGuard)->Arg(1)->Arg(0)->ArgNames({"used"})->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace condpag

BENCHMARK_MAIN();
