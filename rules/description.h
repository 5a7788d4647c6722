#pragma once
// Automatic description of a payment term, built from its installments: a code line of at most
// 40 characters such as "Num.2 Rb (50%/50%) 30-60GG-FM".

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "rules/value.h"

namespace condpag {

using Translate = std::function<std::string(std::string_view)>;

// Installments that agree in payment type, reference date and shares form one group with their
// count and their day list; groups are joined with " + ". Reference-date tokens go through
// `translate` (none: each token stands for itself); numbers use `decimal_separator`.
// No installments give "". Nullopt when an installment cannot be described (reference date
// empty or outside 0..6, fixed-amount handling empty, an unusable share): the description in
// place is then kept.
std::optional<std::string> DescrizioneAutomatica(std::span<const Record> installments,
                                                 const Translate& translate,
                                                 char decimal_separator = ',');

// The longest description kept whole; a longer one is cut to 36 characters and " ...".
inline constexpr std::size_t kDescriptionLength = 40;

}  // namespace condpag
