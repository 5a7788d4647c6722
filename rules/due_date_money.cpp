#include "rules/due_date_money.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "rules/due_date_preview.h"

namespace condpag {
namespace money {
namespace {

__extension__ typedef __int128 Wide;  // share products of large amounts

Cents clamp_amount(Wide value) {
    return Cents(std::clamp<Wide>(value, -kAmountLimit * 16, kAmountLimit * 16));
}

}  // namespace

Cents share_of(Cents amount, Share share) {
    if (share.zero()) return 0;
    Wide n = Wide(amount) * share.num;
    Wide d = share.den;
    if (d < 0) n = -n, d = -d;
    Wide q = n / d;
    const Wide r = n % d;
    if (2 * (r < 0 ? -r : r) >= d) q += n < 0 ? -1 : 1;
    return clamp_amount(q);
}

std::optional<Cents> cents_of(double amount) {
    if (!std::isfinite(amount) || std::fabs(amount) * 100 > double(kAmountLimit)) {
        return std::nullopt;
    }
    return std::llround(amount * 100);
}

Cents held_amount(Cents amount, std::string_view what, std::vector<std::string>& notes) {
    if (amount >= -kAmountLimit && amount <= kAmountLimit) return amount;
    notes.push_back(std::string(what) + " oltre i limiti: ridotto");
    return std::clamp(amount, -kAmountLimit, kAmountLimit);
}

}  // namespace money

std::string format_amount(Cents amount) {
    const unsigned long long magnitude =
        amount < 0 ? 0ULL - static_cast<unsigned long long>(amount) : amount;
    std::string units = std::to_string(magnitude / 100);
    std::string text;
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (i > 0 && (units.size() - i) % 3 == 0) text += '.';
        text += units[i];
    }
    char cents[4];
    std::snprintf(cents, sizeof cents, ",%02u", unsigned(magnitude % 100));
    return (amount < 0 ? "-" : "") + text + cents;
}

std::optional<Cents> to_cents(const Value& amount) {
    const std::optional<double> number = amount.to_number();
    if (!number) return std::nullopt;
    return money::cents_of(*number);
}

}  // namespace condpag
