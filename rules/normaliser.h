#pragma once
// The host's number normaliser: turns a share total into the number the window shows and
// compares with 100. Given the total and the whole numbers 3, 4 and 5.

#include <string>

namespace condpag {

class NumberNormaliser {
  public:
    virtual ~NumberNormaliser() = default;
    virtual double normalise(double value, int a, int b, int c) const = 0;
    // How a normalised number is shown in TXT_TOTIMP and TXT_TOTIVA.
    virtual std::string text(double normalised) const;
};

// Turns a total back into the sum of shares it stands for. A share is a percentage with four
// decimals or 100 x n / d with a two-digit d, and a total shown rounded is read back by the
// checks, which subtract and add shares to it again; rounding alone would let those errors pile
// up (200/3 shown 66.666667, less 100/3, plus 200/3, gives 100.000001 and a refusal). So a value
// within half a unit of the last decimal of some 100 x p / q, q up to 99, becomes that fraction
// (exactly 100 for 100), and any other value is rounded to the decimals (halves away from zero).
// No percentage of four decimals lies that close to another fraction, so typed percentages stay
// as they are. Its text is the value rounded to the decimals, with the given separator: "100",
// "33.333333" (or "33,333333").
class RoundingNormaliser : public NumberNormaliser {
  public:
    explicit RoundingNormaliser(int decimals = 6, char decimal_separator = '.')
        : decimals_(decimals), separator_(decimal_separator) {}
    double normalise(double value, int a, int b, int c) const override;
    std::string text(double normalised) const override;

  private:
    int decimals_;
    char separator_;
};

// A total normalised the way the checks do it: with 3, 4 and 5.
double normalised(const NumberNormaliser& normaliser, double total);
// The normalised total as the window shows it.
std::string total_text(const NumberNormaliser& normaliser, double total);

}  // namespace condpag
