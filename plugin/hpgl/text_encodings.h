// Conversions between the plug-in's eight-bit text (code pages 932 and 949), UTF-8 for the
// host's font metrics and UTF-16 for the host's text engine. None of them keeps state.
#pragma once

#include <cstdint>

#include "sdk/ate_classes.h"

// One Shift-JIS double-byte character (lead byte high) to its JIS X 0208 code (row high).
uint16_t ConvertShiftJisToJis(uint16_t sjis);

// JIS code to kuten number ku * 100 + ten.
uint16_t ConvertJisToKuten(uint16_t jis);

uint16_t ConvertShiftJisToKuten(uint16_t sjis);

// Eight-bit string to UTF-8 in out (room bytes, terminator included); an empty string when
// the text does not convert or does not fit.
void ConvertShiftJisToUtf8(const char* sjis, char* out, int32_t room);
void ConvertKoreanToUtf8(const char* text, char* out, int32_t room);

// Decodes UTF-8 (six-byte form) into UTF-16 with surrogate pairs; capacity counts units
// including the terminator. Returns the units written, terminator not counted.
int32_t ConvertUtf8ToUtf16(const char* utf8, char16_t* out, int32_t capacity);

// Copies src after dst's terminator; the caller provides the room. Returns dst's new length.
int32_t AppendWideString(char16_t* dst, const char16_t* src);

// Appends Shift-JIS text to dst as UTF-16; the caller provides the room (length + 1 units).
void AppendShiftJisAsUtf16(char16_t* dst, const char* sjis);

// Inserts Shift-JIS text into a host text range as UTF-16 (the range's end, the whole text).
void InsertShiftJisText(ATE::ITextRange range, const char* sjis);
