// The host's Unicode String suite and the strings it keeps.
#pragma once

#include "sdk/ai_unicode_string.h"

#include <string>

namespace host {

struct HostString {
    std::u16string utf16;
    std::string eightBit;      // the bytes it was made from, when it was made from eight-bit text
    int32_t encoding = -1;     // their encoding code; -1 when made from UTF-16
};

const AIUnicodeStringSuite* HostUnicodeStringSuite();

// The string behind a reference, or null for a reference the host never made or disposed.
const HostString* FindHostString(AIUnicodeStringRef string);
int64_t HostStringsHeld();

// Eight-bit text of code page 932 as UTF-16; a byte that is no character becomes U+FFFD.
std::u16string DecodeEightBit(const std::string& bytes);
// The same text as UTF-8 for the terminal; a byte that is no character shows as \xHH.
std::string EightBitToPrintable(const std::string& bytes);
std::string Utf16ToUtf8(const std::u16string& text);
std::u16string Utf8ToUtf16(const std::string& text);
// UTF-16 as code page 932, one character at a time, so that one the code page lacks
// becomes '?' instead of failing the whole text.
std::string ToEightBit(const std::u16string& text);
// A string as the terminal shows it: its eight-bit bytes when it has them, else its UTF-16.
std::string PrintableText(const HostString& string);
// The bytes a record of it keeps: the eight-bit bytes, else UTF-8.
std::string RecordedBytes(const HostString& string);

}  // namespace host
