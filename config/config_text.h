// Eight-bit text of the settings file (paper names, header, footer and host texts, code
// page 932) and the UTF-8 text of the dialog controls.
#pragma once

#include <cstddef>
#include <string>

// The NUL-terminated code page 932 text as UTF-8; a byte that is no character shows as "?".
std::string Cp932ToUtf8(const char* text);

// The UTF-8 text as code page 932 into out (room bytes, NUL-terminated, zero-filled after
// the text), ending on a whole character. A character that code page 932 lacks becomes
// "?". True when the whole text went in unchanged.
bool Utf8ToCp932(const std::string& text, char* out, size_t room);
