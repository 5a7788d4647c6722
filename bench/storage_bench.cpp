// Storage on a large database (10,000 terms, 100,000 installments): SQLite directly and through
// the SQLite ODBC driver, side by side.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "storage/demo_data.h"
#include "storage/recordset.h"
#include "storage/schema.h"
#include "storage/statements.h"

namespace condpag {
namespace {

constexpr int kTerms = 10000;
constexpr int kInstallmentsPerTerm = 10;
const char* const kOdbcDriver = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";

std::string term_code(int n) {
    char code[8];
    std::snprintf(code, sizeof code, "T%05d", n);
    return code;
}

// The generated file, made once per run and removed at exit.
struct Generated {
    std::string folder;
    std::string path;
    std::string error;

    Generated() {
        std::string pattern = (std::filesystem::temp_directory_path() / "condpag-bench-XXXXXX");
        if (!mkdtemp(pattern.data())) {
            error = "no temp folder";
            return;
        }
        folder = pattern;
        path = folder + "/large.db";
        auto opened = open_database(path, true);
        if (!opened) {
            error = opened.error().message;
            return;
        }
        Connection& connection = *opened;
        connection.ExecuteChange("BEGIN");
        std::vector<std::vector<Value>> headers, installments;
        for (int t = 0; t < kTerms; ++t) {
            std::string code = term_code(t);
            headers.push_back({code, "Ri.Ba. generata " + std::to_string(t), 0});
            for (int p = 1; p <= kInstallmentsPerTerm; ++p) {
                installments.push_back({code, p, 2, 1, 30 * p, 5, 1, 10.0, 1, 10.0});
            }
        }
        auto done = insert_rows(connection, "CG62_CONDPAGDES",
                                {"CG62_CODPAG", "CG62_DESCPAG", "CG62_FLGDESC"}, headers);
        if (done) {
            done =
                insert_rows(connection, "CG63_CONDPAGDET",
                            {"CG63_CODPAG_CG62", "CG63_PROG", "CG63_TIPOEFF", "CG63_INDTIPODECOR",
                             "CG63_GGDECOR", "CG63_INDDATARIF", "CG63_FLGFRPERCIMP", "CG63_PERCIMP",
                             "CG63_FLGFRPERCIVA", "CG63_PERCIVA"},
                            installments);
        }
        if (!done) error = done.error().message;
        connection.ExecuteChange("COMMIT");
    }
    ~Generated() {
        std::error_code ignored;
        if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
    }
};

const Generated& generated() {
    static Generated database;
    return database;
}

// Argument 0: SQLite directly; 1: SQLite through ODBC.
bool connect(benchmark::State& state, Connection& connection) {
    const Generated& database = generated();
    if (!database.error.empty()) {
        state.SkipWithError(database.error.c_str());
        return false;
    }
    bool odbc = state.range(0) == 1;
    if (odbc && !std::filesystem::exists(kOdbcDriver)) {
        state.SkipWithError("SQLite ODBC driver not installed");
        return false;
    }
    connection.ConnectionString =
        odbc ? "odbc:DRIVER=" + std::string(kOdbcDriver) + ";Database=" + database.path
             : "sqlite:" + database.path;
    if (auto opened = connection.Open(); !opened) {
        state.SkipWithError(opened.error().message.c_str());
        return false;
    }
    state.SetLabel(odbc ? "odbc" : "sqlite");
    return true;
}

void OpenHeaderSet(benchmark::State& state) {
    Connection connection;
    if (!connect(state, connection)) return;
    for (auto _ : state) {
        Recordset header;
        header.Open(kHeaderStatement, connection);
        if (header.RecordCount() < kTerms) state.SkipWithError("header set incomplete");
        benchmark::DoNotOptimize(header.RecordCount());
    }
}

void LoadDetailsForCode(benchmark::State& state) {
    Connection connection;
    if (!connect(state, connection)) return;
    int n = 0;
    for (auto _ : state) {
        std::string code = term_code((n++ * 7919) % kTerms);
        Recordset installments, periods, languages;
        installments.Open(load_installments_statement(code), connection);
        periods.Open(load_periods_statement(code), connection);
        languages.Open(load_languages_statement(code), connection);
        if (installments.RecordCount() != kInstallmentsPerTerm) {
            state.SkipWithError("wrong installment count");
        }
    }
}

void CountInstallments(benchmark::State& state) {
    Connection connection;
    if (!connect(state, connection)) return;
    int n = 0;
    for (auto _ : state) {
        auto count = ContaRate(connection, term_code((n++ * 7919) % kTerms));
        if (!count || *count != kInstallmentsPerTerm) state.SkipWithError("wrong count");
    }
}

// A new term with 12 installments, written as the editor writes it: header row, then details.
void SaveTermWithTwelveInstallments(benchmark::State& state) {
    Connection connection;
    if (!connect(state, connection)) return;
    static int next = 0;
    Recordset header;
    header.Open("SELECT * FROM CG62_CONDPAGDES WHERE 1=0", connection);
    for (auto _ : state) {
        char code[8];
        std::snprintf(code, sizeof code, "S%05d", next++ % 100000);
        Recordset details;
        details.Open(kInstallmentsEmpty, connection);
        header.AddNew();
        header.SetField("CG62_CODPAG", code);
        header.SetField("CG62_DESCPAG", "Ri.Ba. mensili 12 rate");
        header.Update();
        for (int p = 1; p <= 12; ++p) {
            details.AddNew();
            details.SetField("CG63_CODPAG_CG62", code);
            details.SetField("CG63_PROG", p);
            details.SetField("CG63_TIPOEFF", 2);
            details.SetField("CG63_GGDECOR", 30 * p);
            details.SetField("CG63_FLGFRPERCIMP", 0);
            details.SetField("CG63_EL1FRIMP", 1);
            details.SetField("CG63_EL2FRIMP", 12);
            details.Update();
        }
        auto saved = header.UpdateBatch(1);
        auto rows = details.UpdateBatch();
        if (!saved || !saved->errors.empty() || !rows || rows->written != 12) {
            state.SkipWithError("save failed");
        }
    }
}

BENCHMARK(OpenHeaderSet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadDetailsForCode)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(CountInstallments)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(SaveTermWithTwelveInstallments)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace condpag

BENCHMARK_MAIN();
