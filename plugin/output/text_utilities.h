// The plug-in's small text and file utilities: bounded string operations on eight-bit text,
// counted (Pascal) strings, writing text into files, the error log, the file-specification
// record, and eight-bit text from UTF-8 for the texts the host gives in UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sdk/ai_file_path.h"

constexpr int kStringLimit = 32000;       // the bounded operations look no further
constexpr int kBoundedSearchLimit = 255;  // FindSubstringBounded's reach into text and part

extern const char kErrorLogName[];  // "ERROR MSG.TXT"

// Characters before the NUL, at most 32000; 0 for no text.
int16_t StringLength(const char* text);

// Copies up to 32000 characters, the NUL included when it is reached; returns destination.
char* CopyStringBounded(char* destination, const char* source);

// 1, -1 or 0: the first differing byte decides, compared as signed 8-bit values; when one
// text ends first the longer one is greater; 0 after 32000 equal characters. No text counts
// as an empty one.
int16_t CompareStringsBounded(const char* a, const char* b);

// Index of the first occurrence of part in text; -1 when absent or either is missing. An
// empty part is found at 0 in a non-empty text.
int32_t FindSubstring(const char* text, const char* part);

// As FindSubstring for an occurrence that starts within the first 255 characters of text,
// comparing at most 255 characters of part.
int32_t FindSubstringBounded(const char* text, const char* part);

// Removes the first occurrence that FindSubstringBounded finds (the characters it compared)
// in place; the new length, or -1 when part is absent.
int32_t RemoveSubstring(char* buffer, const char* part);

// The first or last min(n, length) characters of source into destination, NUL-terminated;
// nothing when source or destination is missing. destination holds n + 1 bytes.
void CopyHeadSubstring(const char* source, int32_t n, char* destination);
void CopyTailSubstring(const char* source, int32_t n, char* destination);

// At most size - 1 characters (and at most 255, the count byte's reach) of source into
// destination from position 1, the NUL too when it is reached and fits; their count in
// position 0. Returns 0.
int CopyCToPascalString(unsigned char* destination, const char* source, int32_t size);

// min(count byte, size - 1) characters after the count byte into destination, then a NUL;
// returns that number.
int32_t CopyPascalToCString(char* destination, const unsigned char* counted, int32_t size);

// The text's bytes without the NUL into the open file; the count written (0 on failure).
int32_t WriteStringToFile(int fd, const char* text);

// Appends the text to "ERROR MSG.TXT" in the current folder, created when missing;
// nothing when the file cannot be opened or created.
void AppendErrorLog(const char* text);

// Zero-fills the 600-byte record and returns it.
AIPlatformFileSpec* ClearFileSpecRecord(AIPlatformFileSpec* record);

// UTF-8 text as code page 932 into out (room bytes with the NUL), each character that code
// page lacks (or a byte that is no UTF-8) as "?"; never ends inside a double-byte character.
// Returns the bytes written before the NUL.
size_t ConvertUtf8ToShiftJis(const char* utf8, char* out, size_t room);
