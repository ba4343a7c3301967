#include "plugin/hpgl/text_encodings.h"

#include <cstring>
#include <vector>

#include "platform/code_pages.h"

uint16_t ConvertShiftJisToJis(uint16_t sjis)
{
    const int hi = sjis >> 8;
    const int lo = sjis & 0xFF;
    int row = hi <= 0x9F ? 2 * (hi - 0x71) + 1 : 2 * (hi - 0xB1) + 1;
    int cell;
    if (lo > 0x9E) {
        cell = lo - 0x7E;
        row = row + 1;
    } else if (lo > 0x7F) {
        cell = lo - 0x20;
    } else {
        cell = lo - 0x1F;
    }
    // 16-bit arithmetic: out-of-range lead or trail bytes wrap instead of being refused.
    return static_cast<uint16_t>(row * 256 + cell);
}

uint16_t ConvertJisToKuten(uint16_t jis)
{
    return static_cast<uint16_t>((jis >> 8) * 100 + (jis & 0xFF) - 3232);
}

uint16_t ConvertShiftJisToKuten(uint16_t sjis)
{
    return ConvertJisToKuten(ConvertShiftJisToJis(sjis));
}

static void ConvertCodePageToUtf8(uint32_t codePage, const char* text, char* out, int32_t room)
{
    if (out == nullptr || room <= 0)
        return;
    out[0] = 0;
    if (text == nullptr || text[0] == 0)
        return;

    const size_t n = std::strlen(text);
    // 3n + 3 bytes, more than the n + 1 units any double-byte code page needs.
    std::vector<char16_t> wide((3 * n + 3) / 2);
    const int units = MultiByteToWide(codePage, text, -1, wide.data(), static_cast<int>(wide.size()));
    if (units <= 0)
        return;
    const int written = WideToMultiByte(kCodePageUtf8, wide.data(), units, out, room);
    // The count includes the converted terminator, so the string already ends inside the
    // room; a failed conversion may leave a partial string, which is cut to empty.
    if (written > 0)
        out[written - 1] = 0;
    else
        out[0] = 0;
}

void ConvertShiftJisToUtf8(const char* sjis, char* out, int32_t room)
{
    ConvertCodePageToUtf8(kCodePageShiftJis, sjis, out, room);
}

void ConvertKoreanToUtf8(const char* text, char* out, int32_t room)
{
    ConvertCodePageToUtf8(kCodePageKorean, text, out, room);
}

// Continuation bytes after a lead byte and the offsets left by the shift-and-add decoding,
// as in the Unicode reference converter.
static int TrailingBytesForUtf8(uint8_t lead)
{
    if (lead < 0xC0) return 0;
    if (lead < 0xE0) return 1;
    if (lead < 0xF0) return 2;
    if (lead < 0xF8) return 3;
    if (lead < 0xFC) return 4;
    return 5;
}

static const uint32_t kOffsetsFromUtf8[6] = {
    0x00000000u, 0x00003080u, 0x000E2080u, 0x03C82080u, 0xFA082080u, 0x82082080u,
};

int32_t ConvertUtf8ToUtf16(const char* utf8, char16_t* out, int32_t capacity)
{
    if (out == nullptr || capacity <= 0)
        return 0;
    out[0] = 0;
    if (utf8 == nullptr)
        return 0;

    const uint8_t* p = reinterpret_cast<const uint8_t*>(utf8);
    int32_t count = 0;
    while (*p != 0) {
        const int extra = TrailingBytesForUtf8(*p);
        // A sequence cut short by the terminator is never read past it.
        bool cut = false;
        for (int i = 1; i <= extra; ++i) {
            if (p[i] == 0) {
                cut = true;
                break;
            }
        }
        uint32_t value = 0;
        if (!cut && extra <= 3) {
            for (int i = 0; i <= extra; ++i)
                value = value * 64 + p[i];
        }
        value -= kOffsetsFromUtf8[extra];
        if (cut)
            value = 0xFFFFFFFFu;

        if (value >= 0x10000u && value <= 0x10FFFFu) {
            if (count + 3 > capacity)
                break;
            const uint32_t v = value - 0x10000u;
            out[count++] = static_cast<char16_t>(0xD800u + (v >> 10));
            out[count++] = static_cast<char16_t>(0xDC00u + (v & 0x3FFu));
        } else {
            if (count + 2 > capacity)
                break;
            out[count++] = value <= 0xFFFFu ? static_cast<char16_t>(value) : u'\uFFFD';
        }
        if (cut)
            break;
        p += extra + 1;
    }
    out[count] = 0;
    return count;
}

int32_t AppendWideString(char16_t* dst, const char16_t* src)
{
    int32_t length = 0;
    while (dst[length] != 0)
        ++length;
    for (int32_t i = 0; src[i] != 0; ++i)
        dst[length++] = src[i];
    dst[length] = 0;
    return length;
}

void AppendShiftJisAsUtf16(char16_t* dst, const char* sjis)
{
    const size_t n = sjis == nullptr ? 0 : std::strlen(sjis);
    const size_t bytes = 3 * n + 3;
    std::vector<char> utf8(bytes);
    ConvertShiftJisToUtf8(sjis, utf8.data(), static_cast<int32_t>(bytes));
    std::vector<char16_t> wide(bytes / 2);
    ConvertUtf8ToUtf16(utf8.data(), wide.data(), static_cast<int32_t>(wide.size()));
    AppendWideString(dst, wide.data());
}

void InsertShiftJisText(ATE::ITextRange range, const char* sjis)
{
    const size_t n = sjis == nullptr ? 0 : std::strlen(sjis);
    // Zero-filled, so it starts as an empty UTF-16 string with room for n + 1 units.
    std::vector<char16_t> wide((3 * n + 3) / 2 + 1, u'\0');
    AppendShiftJisAsUtf16(wide.data(), sjis);
    range.InsertAfter(wide.data(), -1);
}
