// The sender's own text utilities: hexadecimal lines for the plot data, fields of a
// delimited text, and the bounded string length and comparison it carries.
#pragma once

#include <cstdint>

constexpr int kStringLimit = 32000;   // the bounded operations look no further
constexpr int kFieldLimit = 80;       // NextField copies at most this many characters

// Characters before the NUL, at most 32000; 0 for no text.
int16_t StringLength(const char* text);

// 1, -1 or 0: the first differing byte decides, compared as signed 8-bit values; when one
// text ends first the longer one is greater; 0 after 32000 equal characters. No text
// counts as an empty one.
int16_t CompareStringsBounded(const char* a, const char* b);

// Two upper-case hexadecimal digits per byte, high half first, then a NUL: text needs
// 2 * count + 1 bytes.
void EncodeHex(const unsigned char* bytes, int count, char* text);

// Pairs of hexadecimal digits ("a" to "f" read as "A" to "F") into bytes until the NUL,
// then a NUL after them; *count is the number of bytes. Decoding stops before a pair that
// is not two hexadecimal digits, so a lone last digit is never paired with the NUL.
void DecodeHex(const char* text, unsigned char* bytes, int* count);

// Copies from text[*position] into field until the delimiter, the NUL or 80 characters,
// terminates the field and returns its length. *position moves past the delimiter that
// ended the field; a field cut at 80 characters leaves *position at the first character
// not copied, so the next call goes on from there. field holds at least 81 bytes.
int NextField(char delimiter, const char* text, int* position, char* field);

// No effect.
void DoNothing();
