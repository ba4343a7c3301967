// Code-page conversions of eight-bit text (code pages 932 and 949, UTF-8) to and from
// UTF-16, with the results of the system's multi-byte conversions: a source length of -1
// means up to and including the terminator; a destination room of 0 asks for the count
// needed; the count written is returned, 0 on failure (invalid input or too little room,
// in which case nothing useful is in the destination).
#pragma once

#include <cstdint>

constexpr uint32_t kCodePageShiftJis = 932;
constexpr uint32_t kCodePageKorean = 949;
constexpr uint32_t kCodePageUtf8 = 65001;

int MultiByteToWide(uint32_t codePage, const char* src, int srcBytes, char16_t* dst, int dstUnits);
int WideToMultiByte(uint32_t codePage, const char16_t* src, int srcUnits, char* dst, int dstBytes);
