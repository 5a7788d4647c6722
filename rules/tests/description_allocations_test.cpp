// The description is rebuilt on every change of the installment list, for every term a list
// shows: it may allocate its result, nothing per installment.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "rules/description.h"

namespace {

// Heap allocations made by this thread while counting is on; the operators below serve the
// whole test binary and only count.
thread_local bool counting = false;
thread_local long allocations = 0;

}  // namespace

// Under AddressSanitizer its own allocator serves new and delete for the libraries too: counting
// operators of ours would pair with its allocations, so the count is left to the other builds.
#if defined(__SANITIZE_ADDRESS__)
#define CONDPAG_COUNTS_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CONDPAG_COUNTS_ALLOCATIONS 0
#endif
#endif
#ifndef CONDPAG_COUNTS_ALLOCATIONS
#define CONDPAG_COUNTS_ALLOCATIONS 1
#endif

#if CONDPAG_COUNTS_ALLOCATIONS
// The compiler pairs the library's new with these deletes and warns of malloc freed by delete;
// here both sides are ours. The library's array forms call these.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    if (counting) ++allocations;
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
#endif

namespace condpag {
namespace {

Record row(int rule, Value days, int reference, int form, Value share) {
    return {{"CG63_TIPOEFF", 2},       {"CG63_INDTIPODECOR", rule},    {"CG63_GGDECOR", days},
            {"CG63_GGSCADFIX1", days}, {"CG63_GGMMFIX", 815},          {"CG63_DAGGFIX1", 1},
            {"CG63_AGGFIX1", 15},      {"CG63_GGSCADFIX2", 5},         {"CG63_DAGGFIX2", "16"},
            {"CG63_AGGFIX2", "31 "},   {"CG63_INDDATARIF", reference}, {"CG63_INDIMPFIX", 1},
            {"CG63_IMPORFIX", 150.5},  {"CG63_FLGFRPERCIMP", form},    {"CG63_PERCIMP", share},
            {"CG63_EL1FRIMP", 1},      {"CG63_EL2FRIMP", 3},           {"CG63_FLGFRPERCIVA", form},
            {"CG63_PERCIVA", share},   {"CG63_EL1FRIVA", "1"},         {"CG63_EL2FRIVA", "3"}};
}

TEST(Description, AllocatesOnlyItsTextWhateverTheNumberOfInstallments) {
    if (!CONDPAG_COUNTS_ALLOCATIONS) GTEST_SKIP() << "the sanitizer's allocator counts here";
    const Translate translate = [](std::string_view token) { return std::string(token); };
    for (int count : {1, 12, 99}) {
        std::vector<Record> rows;
        for (int n = 1; n <= count; ++n) {
            // Every start rule, both share forms, two reference dates: several groups.
            rows.push_back(row(n % 5, 30 * n, n % 2 ? 5 : 0, n % 2, 100.0 / count));
        }
        for (const Translate& words : {Translate(), translate}) {
            allocations = 0;
            counting = true;
            const auto text = DescrizioneAutomatica(rows, words);
            counting = false;
            EXPECT_TRUE(text.has_value());
            EXPECT_LE(allocations, 1) << count << " installments";
        }
    }
}

}  // namespace
}  // namespace condpag
