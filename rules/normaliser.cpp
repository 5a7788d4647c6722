#include "rules/normaliser.h"

#include <cmath>

#include "rules/value.h"

namespace condpag {

std::string NumberNormaliser::text(double normalised) const { return decimal_text(normalised); }

namespace {

double rounded(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    // Beyond 2^52 there are no decimals left to round.
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) return value;
    return std::round(scaled) / scale;
}

}  // namespace

double RoundingNormaliser::normalise(double value, int, int, int) const {
    if (!std::isfinite(value) || std::fabs(value) >= 1e12) return rounded(value, decimals_);
    const double tolerance = 0.5 * std::pow(10.0, -decimals_);
    for (int q = 1; q <= 99; ++q) {
        const double p = std::round(value * q / 100);
        const double fraction = 100 * p / q;
        if (std::fabs(fraction - value) < tolerance) return fraction;
    }
    return rounded(value, decimals_);
}

std::string RoundingNormaliser::text(double normalised) const {
    std::string text = decimal_text(rounded(normalised, decimals_));
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
