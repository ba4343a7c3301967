#include "config/numbers_and_units.h"

#include "config/settings_store.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kLargestDecimals = 9;       // 10^9 is the largest power of ten in 32 bits
constexpr int kSignificantDigits = 9;     // digits ParseNumber reads as they stand
constexpr int16_t kLongestPaperSize = 3000;
constexpr float kPointsPerInch = 72.0f;

float MillimetresPerInch()
{
    return DivReal(IntToReal(254), IntToReal(10));
}

// Truncation of a value already known to be a number, held to 32 bits.
int32_t Truncate(float value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483648.0f)
        return INT32_MAX;
    if (value <= -2147483648.0f)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The digits' value with those beyond the ninth significant one taken as zeros, divided
// by ten once for every character after the point; finite in single precision.
float LongDigitsValue(std::string_view digits, int charactersAfterPoint)
{
    long long lead = 0;
    for (int i = 0; i < kSignificantDigits; ++i)
        lead = lead * 10 + (digits[static_cast<size_t>(i)] - '0');
    long exponent = static_cast<long>(digits.size()) - kSignificantDigits - charactersAfterPoint;
    if (exponent > 2 * FLT_MAX_10_EXP)
        return FLT_MAX;
    if (exponent < 2 * FLT_MIN_10_EXP - 2 * kSignificantDigits)
        return 0.0f;
    double value = static_cast<double>(lead) * std::pow(10.0, static_cast<double>(exponent));
    return value > FLT_MAX ? FLT_MAX : static_cast<float>(value);
}

} // namespace

std::string_view EntryText(std::string_view text)
{
    int count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;
        if (count++ == kEntryTextLimit)
            return text.substr(0, i);
    }
    return text;
}

float IntToReal(int32_t value)
{
    return static_cast<float>(value);
}

float MulReal(float a, float b)
{
    return a * b;
}

float DivReal(float a, float b)
{
    return a / b;
}

int32_t RoundFloatToInt(float value)
{
    return Truncate(value + 0.5f);
}

int32_t TruncToInt(float value)
{
    return Truncate(value);
}

std::string FormatFixed(float value, int decimals)
{
    int n = decimals < 0 ? 0 : (decimals > kLargestDecimals ? kLargestDecimals : decimals);
    int32_t m = 1;
    for (int i = 0; i < n; ++i)
        m *= 10;
    int32_t k = Truncate(MulReal(IntToReal(m), value) + 0.5f);
    std::string result = k >= 0 ? "" : "-";
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%lld", k >= 0 ? static_cast<long long>(k) : -static_cast<long long>(k));
    std::string digits = buffer;
    size_t places = static_cast<size_t>(n);
    if (n > 0 && digits.size() > places)
        digits.insert(digits.size() - places, ".");
    else if (n > 0)
        result += "0." + std::string(places - digits.size(), '0');
    return result + digits;
}

float ParseNumber(std::string_view text)
{
    size_t length = text.size();
    size_t point = length;  // the index after the decimal point; the length for none
    bool negative = false;
    std::string digits;     // left to right
    for (size_t i = length; i-- > 0;) {
        char c = text[i];
        if (c == '-')
            negative = true;
        else if (c == '.' && point == length)
            point = i + 1;
        else if (IsDigit(c))
            digits.insert(digits.begin(), c);
    }
    size_t zeros = digits.find_first_not_of('0');
    digits.erase(0, zeros == std::string::npos ? digits.size() : zeros);
    int afterPoint = static_cast<int>(length - point);

    float sum = 0.0f;
    if (static_cast<int>(digits.size()) > kSignificantDigits) {
        sum = LongDigitsValue(digits, afterPoint);
        afterPoint = 0;
    } else {
        int32_t weight = 1;
        for (size_t i = digits.size(); i-- > 0;) {
            sum += IntToReal((digits[i] - '0') * weight);
            if (i > 0)
                weight *= 10;
        }
    }
    float divisor = negative ? -1.0f : 1.0f;
    for (int i = 0; i < afterPoint; ++i)
        divisor = MulReal(divisor, 10.0f);
    return DivReal(sum, divisor);
}

int16_t ClampScaledLength(int16_t length, int32_t scale)
{
    int32_t scaled = TruncToInt(DivReal(IntToReal(length), DivReal(IntToReal(scale), 10000.0f)));
    return static_cast<int16_t>(scaled > kLongestPaperSize ? kLongestPaperSize : scaled);
}

int16_t ValidDisplayUnit(int16_t unit)
{
    return unit >= kUnitInch && unit <= kUnitPixel ? unit : kUnitMillimetre;
}

int16_t StoredDisplayUnit()
{
    return ValidDisplayUnit(gPaperList.wUnit);
}

std::string DisplayLength(int32_t millimetres, int16_t unit)
{
    float value = IntToReal(millimetres);
    if (unit == kUnitInch)
        return FormatFixed(DivReal(value, MillimetresPerInch()), 3);
    if (unit == kUnitMillimetre)
        return FormatFixed(value, 0);
    return FormatFixed(MulReal(DivReal(value, MillimetresPerInch()), kPointsPerInch), 2);
}

int16_t EntryLength(std::string_view text, int16_t unit, bool paperSize)
{
    float value = ParseNumber(EntryText(text));
    if (unit == kUnitInch)
        value = MulReal(value, MillimetresPerInch());
    else if (unit == kUnitPixel)
        value = DivReal(MulReal(value, MillimetresPerInch()), kPointsPerInch);
    if (paperSize && value == 0.0f)
        value = IntToReal(kLongestPaperSize);
    return static_cast<int16_t>(RoundFloatToInt(value));
}
