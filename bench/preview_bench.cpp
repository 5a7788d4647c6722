// Due-date preview of a 12-installment term with 4 shift periods, as the panel recomputes it on
// every edit.

#include <benchmark/benchmark.h>

#include "rules/due_date_preview.h"

namespace {

using namespace condpag;
using namespace std::chrono;

std::vector<Record> monthly_installments() {
    std::vector<Record> rows;
    for (int n = 1; n <= 12; ++n) {
        rows.push_back({{"CG63_PROG", n},
                        {"CG63_TIPOEFF", 2},
                        {"CG63_STIPOEFF", n % 3 ? Value(n % 3) : Value()},
                        {"CG63_INDTIPODECOR", n % 4 + 1},
                        {"CG63_GGDECOR", 30 * n},
                        {"CG63_INDDATARIF", 5},
                        {"CG63_INDTIPOCALEND", 0},
                        {"CG63_FLGFRPERCIMP", 0},
                        {"CG63_EL1FRIMP", 1},
                        {"CG63_EL2FRIMP", 12},
                        {"CG63_FLGFRPERCIVA", 1},
                        {"CG63_PERCIVA", 100.0 / 12},
                        {"CG63_INDIMPFIX", n == 1 ? 1 : 0},
                        {"CG63_IMPORFIX", 150},
                        {"CG63_GGSCADFIX1", 10},
                        {"CG63_DAGGFIX1", 1},
                        {"CG63_AGGFIX1", 15},
                        {"CG63_GGSCADFIX2", 25},
                        {"CG63_DAGGFIX2", 16},
                        {"CG63_AGGFIX2", 31},
                        {"CG63_GGMMFIX", 1231}});
    }
    return rows;
}

void BM_Preview12Installments4Periods(benchmark::State& state) {
    const std::vector<Record> installments = monthly_installments();
    const std::vector<Record> periods = {
        {{"CG65_DAMMGG", 801}, {"CG65_AMMGG", 831}, {"CG65_INDTIPOSLIT", 4}, {"CG65_GGSLSUCC", 10}},
        {{"CG65_DAMMGG", 1215},
         {"CG65_AMMGG", 1231},
         {"CG65_INDTIPOSLIT", 1},
         {"CG65_GGSLSUCC", 5}},
        {{"CG65_DAMMGG", 401}, {"CG65_AMMGG", 410}, {"CG65_INDTIPOSLIT", 5}, {"CG65_GGSLSUCC", 0}},
        {{"CG65_DAMMGG", 601},
         {"CG65_AMMGG", 630},
         {"CG65_INDTIPOSLIT", 3},
         {"CG65_GGSLSUCC", 0},
         {"CG65_GGMMFIXSLIT", 710}}};
    const std::vector<Record> subtypes = {
        {{"CG64_TIPOEFF", 2}, {"CG64_CODSTIPOEFF", 1}, {"CG64_GGOFFSET", 5}},
        {{"CG64_TIPOEFF", 2}, {"CG64_CODSTIPOEFF", 2}, {"CG64_GGOFFSET", 10}}};
    ExampleInvoice invoice;
    invoice.invoice_date = 2027y / 1 / 15;
    invoice.taxable = 100000;
    invoice.vat = 22000;
    for (auto _ : state) {
        DueDatePreview preview = due_date_preview(installments, periods, subtypes, invoice);
        benchmark::DoNotOptimize(preview);
    }
}
BENCHMARK(BM_Preview12Installments4Periods);

}  // namespace

BENCHMARK_MAIN();
