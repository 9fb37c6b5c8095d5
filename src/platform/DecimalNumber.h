#pragma once
// A number as decimal digits and a power of ten, the common ground of every
// number text: doubles enter through their shortest exact text, currency
// through its scaled integer, and typed text digit for digit.  Rounding works
// on these digits, so what is rounded is the decimal value a user sees.

#include <cstdint>
#include <string>

enum class TDecimalRounding { HalfAwayFromZero, HalfEven };

struct TDecimalNumber {
    enum TKind { Finite, PlusInfinity, MinusInfinity, NotANumber };

    TKind Kind = Finite;
    bool Negative = false;
    std::string Digits;   // significant digits: no leading or trailing '0'; empty for zero
    int Exponent = 0;     // value = 0.Digits x 10^Exponent

    // The shortest text that reads back as the same double.
    static TDecimalNumber FromDouble(double value);
    // Exactly scaled / 10^scale.
    static TDecimalNumber FromScaled(int64_t scaled, int scale);

    bool IsFinite() const noexcept { return Kind == Finite; }
    bool IsZero() const noexcept { return Kind == Finite && Digits.empty(); }
    // True for a negative value that does not show as zero.
    bool ShowsMinus() const noexcept { return Negative && !IsZero(); }
    // Count of digits before the decimal point (0 for values below 1).
    int IntegerDigits() const noexcept { return Exponent > 0 ? Exponent : 0; }
    // The digit of weight 10^power, '0' outside the significant digits.
    char DigitAt(int power) const noexcept;

    void RoundToSignificant(int count, TDecimalRounding mode = TDecimalRounding::HalfAwayFromZero);
    void RoundToDecimals(int decimals, TDecimalRounding mode = TDecimalRounding::HalfAwayFromZero);

    // Exactly value x 10^scale as an integer; false when the digits do not
    // fit in 64 bits or a fraction remains (round first).
    bool ToScaled(int scale, int64_t& scaled) const;

    // Plain text with '.' before exactly `decimals` digits (rounded first),
    // no exponent and no group separators: "-1234.50".
    std::string ToFixedText(int decimals, TDecimalRounding mode = TDecimalRounding::HalfAwayFromZero) const;

    // Reads "[blanks][sign]digits[sep digits][(e|E)[sign]digits][blanks]";
    // at least one digit before or after the separator.
    static bool Parse(const std::string& text, char decimalSeparator, TDecimalNumber& result);

private:
    void KeepDigits(int keep, TDecimalRounding mode);
    void Normalize();
};
