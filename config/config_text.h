// Eight-bit text of the settings file (paper names, header, footer and host texts, code
// page 932) and the UTF-8 text of the dialog controls.
#pragma once

#include <cstddef>
#include <string>

// The NUL-terminated code page 932 text as UTF-8; a byte that is no character shows as "?".
std::string Cp932ToUtf8(const char* text);

// The text of a fixed-size code page 932 field (a paper name): at most size - 1 bytes, up to
// its NUL, as UTF-8. It ends on a whole character: a lead byte whose second byte the field
// cut off is dropped, never shown as half a character.
std::string Cp932FieldToUtf8(const char* field, size_t size);

// The UTF-8 text as code page 932 into out (room bytes, NUL-terminated, zero-filled after
// the text), ending on a whole character. A character that code page 932 lacks becomes
// "?". True when the whole text went in unchanged.
bool Utf8ToCp932(const std::string& text, char* out, size_t room);
