// Storage on a large database (10,000 terms, 100,000 installments): SQLite directly and through
// the SQLite ODBC driver side by side, and PostgreSQL through ODBC when CONDPAG_PG names one.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "storage/backends.h"
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

// A step that fails stops the benchmark with its message rather than timing a broken run.
template <typename Result>
bool ran(benchmark::State& state, const Result& done) {
    if (!done) state.SkipWithError(done.error().message.c_str());
    return done.ok();
}

// Fills an empty database with the large data set, in one transaction.
std::string generate(Connection& connection) {
    if (auto created = create_database(connection, false); !created) {
        return created.error().message;
    }
    if (auto begun = connection.ExecuteChange("BEGIN"); !begun) return begun.error().message;
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
        done = insert_rows(connection, "CG63_CONDPAGDET",
                           {"CG63_CODPAG_CG62", "CG63_PROG", "CG63_TIPOEFF", "CG63_INDTIPODECOR",
                            "CG63_GGDECOR", "CG63_INDDATARIF", "CG63_FLGFRPERCIMP", "CG63_PERCIMP",
                            "CG63_FLGFRPERCIVA", "CG63_PERCIVA"},
                           installments);
    }
    auto committed = connection.ExecuteChange("COMMIT");
    if (!done) return done.error().message;
    return committed ? std::string() : committed.error().message;
}

// The generated SQLite file, made once per run and removed at exit.
struct GeneratedFile {
    std::string folder;
    std::string path;
    std::string error;

    GeneratedFile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "condpag-bench-XXXXXX");
        if (!mkdtemp(pattern.data())) {
            error = "no temp folder";
            return;
        }
        folder = pattern;
        path = folder + "/large.db";
        Connection connection;
        connection.ConnectionString = "sqlite:" + path;
        if (auto created = open_sqlite(path, true); !created) {
            error = created.error().message;
        } else if (auto opened = connection.Open(); !opened) {
            error = opened.error().message;
        } else {
            error = generate(connection);
        }
    }
    ~GeneratedFile() {
        std::error_code ignored;
        if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
    }
};

// The same data in a schema of its own on the PostgreSQL server named by CONDPAG_PG, if any.
struct GeneratedSchema {
    std::string admin;
    std::string connection_string;
    std::string schema = "bench_" + std::to_string(getpid());
    std::string error;

    GeneratedSchema() {
        const char* text = std::getenv("CONDPAG_PG");
        if (!text || !*text) {
            error = "CONDPAG_PG not set";
            return;
        }
        admin = text;
        Connection connection;
        connection.ConnectionString = admin;
        if (auto opened = connection.Open(); !opened) {
            error = opened.error().message;
            return;
        }
        if (auto made = connection.ExecuteChange("CREATE SCHEMA " + schema); !made) {
            error = made.error().message;
            return;
        }
        connection_string = admin + (admin.back() == ';' ? "" : ";") +
                            "ConnSettings=SET search_path TO " + schema + ";";
        Connection inside;
        inside.ConnectionString = connection_string;
        if (auto opened = inside.Open(); !opened) {
            error = opened.error().message;
            return;
        }
        error = generate(inside);
    }
    ~GeneratedSchema() {
        if (admin.empty()) return;
        Connection connection;
        connection.ConnectionString = admin;
        // A schema left behind is only clutter on the test server.
        if (connection.Open()) {
            ignore_error_by_design(connection.ExecuteChange("DROP SCHEMA " + schema + " CASCADE"));
        }
    }
};

// Argument 0: SQLite directly; 1: SQLite through ODBC; 2: PostgreSQL through ODBC.
bool connect(benchmark::State& state, Connection& connection) {
    static const char* const labels[] = {"sqlite", "sqlite-odbc", "postgres-odbc"};
    int kind = static_cast<int>(state.range(0));
    std::string error;
    if (kind == 2) {
        static GeneratedSchema schema;
        error = schema.error;
        connection.ConnectionString = schema.connection_string;
    } else {
        static GeneratedFile file;
        error = file.error;
        if (kind == 1 && !std::filesystem::exists(kOdbcDriver)) {
            error = "SQLite ODBC driver not installed";
        }
        connection.ConnectionString =
            kind == 1 ? "odbc:DRIVER=" + std::string(kOdbcDriver) + ";Database=" + file.path
                      : "sqlite:" + file.path;
    }
    if (error.empty()) {
        if (auto opened = connection.Open(); !opened) error = opened.error().message;
    }
    if (!error.empty()) {
        state.SkipWithError(error.c_str());
        return false;
    }
    state.SetLabel(labels[kind]);
    return true;
}

void OpenHeaderSet(benchmark::State& state) {
    Connection connection;
    if (!connect(state, connection)) return;
    for (auto _ : state) {
        Recordset header;
        if (!ran(state, header.Open(kHeaderStatement, connection))) return;
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
        if (!ran(state, installments.Open(load_installments_statement(code), connection)) ||
            !ran(state, periods.Open(load_periods_statement(code), connection)) ||
            !ran(state, languages.Open(load_languages_statement(code), connection))) {
            return;
        }
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
    if (!ran(state, header.Open("SELECT * FROM CG62_CONDPAGDES WHERE 1=0", connection))) return;
    for (auto _ : state) {
        char code[8];
        std::snprintf(code, sizeof code, "S%05d", next++ % 100000);
        Recordset details;
        if (!ran(state, details.Open(kInstallmentsEmpty, connection))) return;
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
        auto saved = header.UpdateBatch(BatchScope::CurrentRow);
        auto rows = details.UpdateBatch();
        if (!saved || !saved->errors.empty() || !rows || rows->written != 12) {
            state.SkipWithError("save failed");
        }
    }
}

BENCHMARK(OpenHeaderSet)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadDetailsForCode)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(CountInstallments)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(SaveTermWithTwelveInstallments)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace condpag

BENCHMARK_MAIN();
