// Fuzz target: the text encodings. The first input byte picks the code page and the room
// given, the rest is the text. Every conversion stays inside its room and terminates its
// result; the count asked for is the count written; decoded text encodes back and decodes
// to the same UTF-16; eight-bit text to UTF-8 to UTF-16 agrees with the direct conversion.
#include "platform/code_pages.h"
#include "plugin/hpgl/text_encodings.h"
#include "tests/fuzz/fuzz_support.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Hex(const std::u16string& s)
{
    std::string out;
    char b[8];
    for (char16_t c : s) {
        std::snprintf(b, sizeof b, "%04x ", static_cast<unsigned>(c));
        out += b;
    }
    return out;
}

// Decoding with the room asked for, and with one unit too few.
std::u16string Decode(uint32_t codePage, const std::string& bytes)
{
    const int count = MultiByteToWide(codePage, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (count <= 0)
        return u"";
    std::vector<char16_t> wide(count);
    FUZZ_CHECK(MultiByteToWide(codePage, bytes.data(), static_cast<int>(bytes.size()), wide.data(), count) == count,
               "the count asked for is not the count written");
    if (count > 1) {
        std::vector<char16_t> small(count - 1);
        FUZZ_CHECK(MultiByteToWide(codePage, bytes.data(), static_cast<int>(bytes.size()), small.data(),
                                   count - 1) == 0,
                   "a conversion into too little room succeeded");
    }
    return std::u16string(wide.begin(), wide.end());
}

void CheckEncodesBack(uint32_t codePage, const std::u16string& wide)
{
    if (wide.empty())
        return;
    const int units = static_cast<int>(wide.size());
    const int count = WideToMultiByte(codePage, wide.data(), units, nullptr, 0);
    FUZZ_CHECK(count > 0, "decoded text does not encode back: " + Hex(wide));
    std::string bytes(count, '\0');
    FUZZ_CHECK(WideToMultiByte(codePage, wide.data(), units, bytes.data(), count) == count,
               "the count asked for is not the count written");
    FUZZ_CHECK(Decode(codePage, bytes) == wide, "decoded, encoded and decoded again differs: " + Hex(wide));
}

void CheckUtf8ToUtf16(const std::string& utf8, int32_t capacity)
{
    std::vector<char16_t> out(capacity, u'\x7777');
    int32_t count = ConvertUtf8ToUtf16(utf8.c_str(), out.data(), capacity);
    FUZZ_CHECK(count >= 0 && count < capacity, "count " + std::to_string(count));
    FUZZ_CHECK(out[count] == 0, "no terminator after the units written");
    // (An overlong zero decodes to a zero unit inside the text, as the reference decoder
    // has it.)
    for (int32_t i = count + 1; i < capacity; ++i)
        FUZZ_CHECK(out[i] == u'\x7777', "written past the units and their terminator");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint32_t pages[] = {kCodePageShiftJis, kCodePageKorean, kCodePageUtf8};
    const uint32_t codePage = pages[data[0] % 3];
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string text(bytes.c_str());  // the eight-bit conversions read up to a NUL

    CheckEncodesBack(codePage, Decode(codePage, bytes));
    CheckUtf8ToUtf16(bytes, 1 + data[0] / 3 % 64);
    CheckUtf8ToUtf16(bytes, static_cast<int32_t>(bytes.size()) + 1);

    if (codePage != kCodePageUtf8) {
        const int32_t room = static_cast<int32_t>(3 * text.size() + 3);
        const int32_t rooms[] = {room, 1 + data[0] / 3 % 16};
        for (int32_t r : rooms) {
            std::vector<char> out(r, '\x55');
            if (codePage == kCodePageShiftJis)
                ConvertShiftJisToUtf8(text.c_str(), out.data(), r);
            else
                ConvertKoreanToUtf8(text.c_str(), out.data(), r);
            FUZZ_CHECK(std::memchr(out.data(), 0, r) != nullptr, "no terminator inside the room");
            if (r != room)
                continue;
            // With room enough, the text converts whole when it converts at all, and says
            // the same as the direct decoding.
            std::u16string direct = Decode(codePage, text);
            std::vector<char16_t> wide(3 * text.size() + 3);
            ConvertUtf8ToUtf16(out.data(), wide.data(), static_cast<int32_t>(wide.size()));
            std::u16string through(wide.data());
            FUZZ_CHECK(through.empty() || through == direct,
                       "through UTF-8 " + Hex(through) + ", directly " + Hex(direct));
        }
        if (codePage == kCodePageShiftJis) {
            std::vector<char16_t> dst(3 * text.size() + 4, 0);
            AppendShiftJisAsUtf16(dst.data(), text.c_str());
            FUZZ_CHECK(std::u16string(dst.data()).size() <= text.size(), "more units than bytes");
        }
    }
    return 0;
}
