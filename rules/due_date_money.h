#pragma once
// Money of the due-date preview: amounts in cents, shares of them rounded half away from zero,
// within limits that no invoice reaches.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace condpag {

// Amounts in cents, so that the rows add up exactly.
using Cents = long long;

namespace money {

constexpr Cents kAmountLimit = 1'000'000'000'000'000;  // ten thousand billion, in cents

// A share of an amount as num ÷ den (a percentage p is p × 10000 ÷ 1000000).
struct Share {
    long long num = 0;
    long long den = 1;
    bool zero() const { return num == 0; }
    double percent() const { return 100.0 * double(num) / double(den); }
};

// amount × num ÷ den, rounded half away from zero.
Cents share_of(Cents amount, Share share);

// A decimal amount in cents; nullopt when it is no finite number or beyond the limit.
std::optional<Cents> cents_of(double amount);

// The amount held within the limit; a note names `what` when it was reduced.
Cents held_amount(Cents amount, std::string_view what, std::vector<std::string>& notes);

}  // namespace money
}  // namespace condpag
