// The pure rules at the sizes the editor meets: automatic descriptions of many terms, totals and
// installment checks of a long term, a full run of generated installments.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "rules/description.h"
#include "rules/generation.h"
#include "rules/installment_checks.h"
#include "rules/totals.h"

namespace {

using namespace condpag;

// A term of 1 to 12 installments, alike the ones users keep: mostly bank receipts at 30-day
// steps, shares as fractions or percentages, now and then a fixed day or a fixed amount.
std::vector<Record> random_term(std::mt19937& engine) {
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(engine);
    };
    static const int kTypes[] = {2, 2, 2, 13, 13, 1, 5, 14, 16, 99};
    const int count = pick(1, 12);
    const bool fraction = pick(0, 1) == 0;
    const int type = kTypes[pick(0, 9)];
    const int reference = pick(0, 6);
    std::vector<Record> rows;
    rows.reserve(count);
    for (int n = 1; n <= count; ++n) {
        const int rule = pick(0, 5) == 0 ? pick(2, 4) : 1;
        Record row{{"CG63_PROG", n},
                   {"CG63_TIPOEFF", pick(0, 7) == 0 ? kTypes[pick(0, 9)] : type},
                   {"CG63_INDTIPODECOR", rule},
                   {"CG63_GGDECOR", 30 * n},
                   {"CG63_GGSCADFIX1", 10},
                   {"CG63_DAGGFIX1", 1},
                   {"CG63_AGGFIX1", 15},
                   {"CG63_GGMMFIX", 815},
                   {"CG63_INDDATARIF", reference},
                   {"CG63_INDIMPFIX", pick(0, 9) == 0 ? 1 : 0},
                   {"CG63_IMPORFIX", 150.5}};
        for (const char* form : {"CG63_FLGFRPERCIMP", "CG63_FLGFRPERCIVA"}) {
            row[form] = fraction ? 0 : 1;
        }
        if (fraction) {
            row["CG63_EL1FRIMP"] = row["CG63_EL1FRIVA"] = 1;
            row["CG63_EL2FRIMP"] = row["CG63_EL2FRIVA"] = count;
        } else {
            row["CG63_PERCIMP"] = row["CG63_PERCIVA"] = 100.0 / count;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// 100,000 terms per iteration, generated 1,000 at a time outside the timing; `per_term` is the
// work timed on each term, and what it counts keeps that work from being optimised away.
template <class PerTerm>
void BM_ManyTerms(benchmark::State& state, PerTerm per_term) {
    constexpr int kTerms = 100000;
    constexpr int kChunk = 1000;
    std::mt19937 engine(42);
    std::vector<std::vector<Record>> chunk(kChunk);
    std::size_t counted = 0;
    for (auto _ : state) {
        for (int done = 0; done < kTerms; done += kChunk) {
            state.PauseTiming();
            for (auto& term : chunk) term = random_term(engine);
            state.ResumeTiming();
            for (const auto& term : chunk) counted += per_term(term);
        }
    }
    benchmark::DoNotOptimize(counted);
    state.SetItemsProcessed(state.iterations() * kTerms);
}

std::size_t describe(const std::vector<Record>& term) {
    auto text = DescrizioneAutomatica(term, {});
    return text ? text->size() : 0;
}

// Each column the description reads only looked at once: the floor any description of these
// records pays for reaching their values in memory.
std::size_t read_columns(const std::vector<Record>& term) {
    std::size_t seen = 0;
    for (const Record& row : term) {
        for (const auto& [name, value] : row) seen += name.size() + value.is_null();
    }
    return seen;
}

BENCHMARK_CAPTURE(BM_ManyTerms, DescrizioneAutomatica, describe)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ManyTerms, ReadInstallmentColumns, read_columns)
    ->Unit(benchmark::kMillisecond);

// The editor's case: the term being edited, already in memory, described after each change.
void BM_DescrizioneAutomaticaOfEditedTerm(benchmark::State& state) {
    std::mt19937 engine(7);
    std::vector<Record> term;
    while (term.size() < 12) term = random_term(engine);
    for (auto _ : state) benchmark::DoNotOptimize(DescrizioneAutomatica(term, {}));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DescrizioneAutomaticaOfEditedTerm);

std::vector<Record> long_term() {
    std::vector<Record> rows;
    for (int n = 1; n <= 99; ++n) {
        rows.push_back({{"CG63_PROG", n},
                        {"CG63_TIPOEFF", 2},
                        {"CG63_STIPOEFF", 1},
                        {"CG63_INDTIPODECOR", n % 2 ? 1 : 4},
                        {"CG63_GGDECOR", 30 * n},
                        {"CG63_GGSCADFIX1", 10},
                        {"CG63_DAGGFIX1", 1},
                        {"CG63_AGGFIX1", 15},
                        {"CG63_FLGFRPERCIMP", 0},
                        {"CG63_EL1FRIMP", 1},
                        {"CG63_EL2FRIMP", 99},
                        {"CG63_FLGFRPERCIVA", 1},
                        {"CG63_PERCIVA", 100.0 / 99}});
    }
    return rows;
}

// The editor seen by the checks: the last of 99 installments is being changed.
struct LongTermEditor : EditorView {
    std::vector<Record> rows = long_term();
    std::string total_taxable = "100", total_vat = "100";
    std::string text(std::string_view control) const override {
        const Record& row = rows.back();
        if (control == "TXT_TOTIMP") return total_taxable;
        if (control == "TXT_TOTIVA") return total_vat;
        if (control == "CMB_FLGFRPERCIMP") return field(row, "CG63_FLGFRPERCIMP").to_text();
        if (control == "CMB_FLGFRPERCIVA") return field(row, "CG63_FLGFRPERCIVA").to_text();
        if (control == "TXT_NUMIMP") return field(row, "CG63_EL1FRIMP").to_text();
        if (control == "TXT_DENIMP") return field(row, "CG63_EL2FRIMP").to_text();
        if (control == "TXT_IVA") return field(row, "CG63_PERCIVA").to_text();
        return {};
    }
    bool installment_is_new() const override { return false; }
    int installation_profile() const override { return 3; }
    const Record& current_installment() const override { return rows.back(); }
    std::vector<Record> installments() const override { return rows; }
    const Record& remembered_installment() const override { return rows.back(); }
    const Record& header() const override { return rows.front(); }
};

void BM_TotaliQuote99(benchmark::State& state) {
    const std::vector<Record> rows = long_term();
    for (auto _ : state) benchmark::DoNotOptimize(TotaliQuote(rows));
}
BENCHMARK(BM_TotaliQuote99);

void BM_ControllaRata(benchmark::State& state) {
    const LongTermEditor editor;
    for (auto _ : state) benchmark::DoNotOptimize(ControllaRata(editor));
}
BENCHMARK(BM_ControllaRata);

// The whole installment check with the uniform-type walk over the 99 rows.
void BM_ValidateInstallmentOf99(benchmark::State& state) {
    const LongTermEditor editor;
    const RoundingNormaliser normaliser;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FME_DETTAGLIO_ValidateRecord(editor, normaliser));
    }
}
BENCHMARK(BM_ValidateInstallmentOf99);

void BM_GeneraRate99(benchmark::State& state) {
    GenerationRequest request;
    request.texts = {{"TXT_NUMERORATE", "99"}, {"CMB_TIPO", "2"},        {"TXT_SOTTOTIPO", "1"},
                     {"CMB_CALENDARIO", "0"},  {"CMB_TIPODECORR", "1"},  {"TXT_GGDECOR", "30"},
                     {"CMB_DATARIF", "5"},     {"TXT_GGMMFIX", "15/08"}, {"CMB_FLGFRPERCIMP", "0"},
                     {"TXT_NUMIMP", "1"},      {"TXT_DENIMP", "99"},     {"CMB_FLGFRPERCIVA", "0"},
                     {"TXT_NUMIVA", "1"},      {"TXT_DENIVA", "99"},     {"CMB_TIPOIMPFIX", "0"}};
    for (auto _ : state) {
        benchmark::DoNotOptimize(ControllaGenerazione(request));
        benchmark::DoNotOptimize(RigheGeneraRate(request, "RB99", 0));
    }
}
BENCHMARK(BM_GeneraRate99);

}  // namespace

BENCHMARK_MAIN();
