#include "rules/normaliser.h"

#include <cmath>

#include "rules/value.h"

namespace condpag {

std::string NumberNormaliser::text(double normalised) const { return decimal_text(normalised); }

double RoundingNormaliser::normalise(double value, int, int, int) const {
    const double scale = std::pow(10.0, decimals_);
    const double scaled = value * scale;
    // Beyond 2^52 there are no decimals left to round.
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) return value;
    return std::round(scaled) / scale;
}

std::string RoundingNormaliser::text(double normalised) const {
    std::string text = decimal_text(normalised);
    for (char& c : text) {
        if (c == '.') c = separator_;
    }
    return text;
}

double normalised(const NumberNormaliser& normaliser, double total) {
    return normaliser.normalise(total, 3, 4, 5);
}

std::string total_text(const NumberNormaliser& normaliser, double total) {
    return normaliser.text(normalised(normaliser, total));
}

}  // namespace condpag
