// Host strings: text the host keeps as UTF-16, made from eight-bit text with an encoding code
// or from UTF-16. Every string a plug-in makes it disposes again.
#pragma once

#include "sdk/ai_types.h"

typedef struct _t_AIUnicodeStringOpaque* AIUnicodeStringRef;

// Encoding codes of eight-bit text; on this host both carry code page 932 text.
constexpr int32_t kAIPlatformCharacterEncoding = 0;   // alerts and menu texts
constexpr int32_t kAIShiftJisCharacterEncoding = 17;  // tool, undo, layer-title and progress texts

struct AIUnicodeStringSuite {
    // a new string from NUL-terminated eight-bit text in the given encoding
    ASErr (*MakeFromEightBit)(const char* text, int32_t encoding, AIUnicodeStringRef* string);
    // a new string from units UTF-16 units; -1 reads up to a NUL unit
    ASErr (*MakeFromUtf16)(const char16_t* text, int32_t units, AIUnicodeStringRef* string);
    ASErr (*Dispose)(AIUnicodeStringRef string);
    // the string's UTF-16 units, valid while the string lives
    ASErr (*GetUtf16)(AIUnicodeStringRef string, const char16_t** text, int32_t* units);
    // the string's text as UTF-8 into buffer (room bytes, NUL-terminated, cut to fit)
    ASErr (*GetUtf8)(AIUnicodeStringRef string, char* buffer, int32_t room);
};
