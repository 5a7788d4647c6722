#pragma once
// What the host's installation profile switches on in the payment-terms rules and windows.

namespace condpag {

// Profiles 1 and 4 keep a payment term to a single installment.
constexpr bool single_installment_mode(int profile) { return profile == 1 || profile == 4; }
// Profile 2 shows the VAT-reversal box.
constexpr bool vat_reversal_shown(int profile) { return profile == 2; }
// Profile 3 asks every installment of a term for the same payment type and subtype.
constexpr bool uniform_types_required(int profile) { return profile == 3; }

}  // namespace condpag
