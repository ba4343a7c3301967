#include "platform/code_pages.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <vector>

static_assert(std::endian::native == std::endian::little, "UTF-16 units are exchanged little-endian");

namespace {

const char* IconvName(uint32_t codePage)
{
    switch (codePage) {
    case kCodePageShiftJis: return "CP932";
    case kCodePageKorean: return "CP949";
    case kCodePageUtf8: return "UTF-8";
    default: return nullptr;
    }
}

size_t WideLength(const char16_t* s)
{
    size_t n = 0;
    while (s[n] != 0)
        ++n;
    return n;
}

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Hands the converted units to the caller's buffer with the room rules of the system's calls.
template <typename Unit>
int DeliverUnits(const std::vector<Unit>& out, Unit* dst, int dstRoom)
{
    if (out.empty() || out.size() > 0x7FFFFFFF)
        return 0;
    int count = static_cast<int>(out.size());
    if (dstRoom == 0)
        return count;
    if (dst == nullptr || count > dstRoom)
        return 0;
    std::memcpy(dst, out.data(), out.size() * sizeof(Unit));
    return count;
}

} // namespace

int MultiByteToWide(uint32_t codePage, const char* src, int srcBytes, char16_t* dst, int dstUnits)
{
    const char* name = IconvName(codePage);
    if (name == nullptr || src == nullptr || srcBytes == 0 || srcBytes < -1 || dstUnits < 0)
        return 0;
    size_t inLeft = srcBytes == -1 ? std::strlen(src) + 1 : static_cast<size_t>(srcBytes);

    iconv_t cd = iconv_open("UTF-16LE", name);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return 0;
    // Every source byte yields at most one UTF-16 unit, a four-byte UTF-8 sequence two.
    std::vector<char16_t> out(inLeft + 4);
    char* in = const_cast<char*>(src);
    char* outPtr = reinterpret_cast<char*>(out.data());
    size_t outLeft = out.size() * sizeof(char16_t);
    size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1))
        return 0;
    out.resize((reinterpret_cast<char16_t*>(outPtr)) - out.data());
    return DeliverUnits(out, dst, dstUnits);
}

int WideToMultiByte(uint32_t codePage, const char16_t* src, int srcUnits, char* dst, int dstBytes)
{
    const char* name = IconvName(codePage);
    if (name == nullptr || src == nullptr || srcUnits == 0 || srcUnits < -1 || dstBytes < 0)
        return 0;
    size_t units = srcUnits == -1 ? WideLength(src) + 1 : static_cast<size_t>(srcUnits);

    iconv_t cd = iconv_open(name, "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return 0;
    std::vector<char> out(units * 4 + 4);
    char* in = reinterpret_cast<char*>(const_cast<char16_t*>(src));
    size_t inLeft = units * sizeof(char16_t);
    char* outPtr = out.data();
    size_t outLeft = out.size();
    bool failed = false;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1))
            break;
        if (errno != EILSEQ && errno != EINVAL) {
            failed = true;
            break;
        }
        // A character the code page lacks becomes the default character, as the system's
        // conversion does; a broken surrogate pair is invalid input.
        const char16_t* at = reinterpret_cast<const char16_t*>(in);
        size_t left = inLeft / sizeof(char16_t);
        size_t skip = 1;
        if (IsHighSurrogate(at[0])) {
            if (left < 2 || !IsLowSurrogate(at[1])) {
                failed = true;
                break;
            }
            skip = 2;
        } else if (IsLowSurrogate(at[0])) {
            failed = true;
            break;
        }
        if (outLeft == 0) {
            failed = true;
            break;
        }
        *outPtr++ = '?';
        --outLeft;
        in += skip * sizeof(char16_t);
        inLeft -= skip * sizeof(char16_t);
    }
    iconv_close(cd);
    if (failed)
        return 0;
    out.resize(outPtr - out.data());
    return DeliverUnits(out, dst, dstBytes);
}
