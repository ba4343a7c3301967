// How the configuration program shows and reads numbers: single-precision values through
// a fixed-decimal formatter and a permissive parser, rounding that adds one half and
// truncates toward zero, and the display unit (inch, mm, pixel) in which every page shows
// and reads lengths. Stored lengths are always whole millimetres.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Display units: the index of the unit combos and of PaperList::wUnit.
constexpr int16_t kUnitInch = 0;
constexpr int16_t kUnitMillimetre = 1;
constexpr int16_t kUnitPixel = 2;

// Longest text the entry rule takes from an edit.
constexpr int kEntryTextLimit = 79;

// The first kEntryTextLimit characters of an edit's UTF-8 text, never cutting one in two.
std::string_view EntryText(std::string_view text);

float IntToReal(int32_t value);
float MulReal(float a, float b);
float DivReal(float a, float b);

// The real plus 0.5, truncated toward zero: 2.5 gives 3, -2.5 gives -2. Values beyond
// 32 bits give the nearest 32-bit value, NaN gives 0. Pages keep the result as int16_t.
int32_t RoundFloatToInt(float value);
// Truncated toward zero, with the same limits.
int32_t TruncToInt(float value);

// The value as fixed-point text with the given decimals (0 to 9): (value * 10^decimals +
// 0.5) truncated to 32 bits, then the point put in ("0.05", "1.50", "-1.24" for -1.25 with 2).
std::string FormatFixed(float value, int decimals);

// Reads a real from any text: digits count wherever they stand, the first "-" from the
// right makes it negative, the rightmost "." that is not the last character is the point,
// and every character after the point divides by ten ("1.5mm" is 0.015). Digits beyond
// nine significant ones count as zeros of their weight.
float ParseNumber(std::string_view text);

// TruncToInt(length / (scale / 10000)), at most 3000: a length at a scale in hundredths
// of a percent, under the 3000 mm ceiling of the paper sizes.
int16_t ClampScaledLength(int16_t length, int32_t scale);

// The display unit stored in the paper list; a value outside 0 to 2 is millimetres.
int16_t StoredDisplayUnit();
int16_t ValidDisplayUnit(int16_t unit);

// Display rule: millimetres as text in the unit (inch 3 decimals, mm 0, pixel 2).
std::string DisplayLength(int32_t millimetres, int16_t unit);
// Entry rule: text in the unit as whole millimetres (at most kEntryTextLimit characters
// are read). A paper size that reads exactly 0 becomes 3000.
int16_t EntryLength(std::string_view text, int16_t unit, bool paperSize);
