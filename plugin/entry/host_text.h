// Host strings made from the plug-in's eight-bit text, through the Unicode String suite.
#pragma once

#include "sdk/ai_unicode_string.h"

ASErr MakeHostString(const char* text, int32_t encoding, AIUnicodeStringRef* string);
void DisposeHostString(AIUnicodeStringRef string);
