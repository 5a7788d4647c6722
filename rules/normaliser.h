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

// Rounds to a fixed number of decimals (halves away from zero), so that a sum that is off 100
// only by double-precision error, such as 3 x 100/3, becomes exactly 100. Its text is the
// shortest decimal text with the given separator: "100", "33.333333" (or "33,333333").
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
