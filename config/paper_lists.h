// Operations on the paper list and the custom-size list. Indices are 16-bit; the list
// operations return 1 for success and 0 for failure (changing nothing then), the searches a
// row index or -1. Names are code page 932 text of at most 63 bytes.
#pragma once

#include "plugin/settings/paper_search.h"  // GetPaperSize
#include "plugin/settings/settings_records.h"

#include <cstdint>

constexpr int kPaperNameBytes = 64;  // 63 characters of code page 932 and a NUL

// 0 <= index < wCount: copies the row (name into a buffer of kPaperNameBytes); otherwise
// an empty name and zeros.
int GetPaperEntry(const PaperList* list, int16_t index, char* name, int16_t* width,
    int16_t* height, int16_t* roll);
// The first row of this width and height, or -1.
int16_t FindPaperSize(const PaperList* list, int16_t width, int16_t height);
// 0 <= index < wCount: replaces the row. A longer name is cut at 63 bytes, never inside
// a double-byte character.
int SetPaperEntry(PaperList* list, int16_t index, const char* name, int16_t width,
    int16_t height, int16_t roll);
// 0 <= index <= wCount < 99: rows index and later move up by one, the new row goes to index.
int InsertPaperEntry(PaperList* list, int16_t index, const char* name, int16_t width,
    int16_t height, int16_t roll);
// 0 <= index < wCount: later rows move down by one.
int DeletePaperEntry(PaperList* list, int16_t index);

// Finds the row of this width and height (else appends, dropping row 0 of a full list),
// names it "User(W*H)" or "User(W*H S%)" and writes the list to the settings file unless
// the row held exactly these values already. The row index.
int16_t AddCustomSize(CustomSizeList* list, int16_t width, int16_t height, int16_t kind,
    int32_t scale);
// 0 <= index < wCount: the row's values; otherwise zeros.
int GetCustomSize(const CustomSizeList* list, int16_t index, int16_t* width, int16_t* height,
    int16_t* kind, int32_t* scale);
int16_t FindCustomSize(const CustomSizeList* list, int16_t width, int16_t height);
