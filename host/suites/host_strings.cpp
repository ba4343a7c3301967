#include "host/suites/host_strings.h"

#include "platform/code_pages.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace host {
namespace {

std::unordered_map<const void*, std::unique_ptr<HostString>>& Strings()
{
    static std::unordered_map<const void*, std::unique_ptr<HostString>> strings;
    return strings;
}

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// Calls emit(units, start, length) per character: the UTF-16 units, or none for a byte that
// is no character of the code page.
template <typename Emit>
void WalkEightBit(const std::string& bytes, Emit emit)
{
    size_t i = 0;
    while (i < bytes.size()) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            emit(std::u16string(1, char16_t(b)), i, size_t(1));
            ++i;
            continue;
        }
        size_t length = 1;
        if (IsLeadByte(b) && i + 1 < bytes.size() && IsTrailByte(static_cast<unsigned char>(bytes[i + 1])))
            length = 2;
        char16_t units[4];
        int count = MultiByteToWide(kCodePageShiftJis, bytes.data() + i, int(length), units, 4);
        if (count <= 0 && length == 2) {
            length = 1;
            count = MultiByteToWide(kCodePageShiftJis, bytes.data() + i, 1, units, 4);
        }
        emit(count > 0 ? std::u16string(units, size_t(count)) : std::u16string(), i, length);
        i += length;
    }
}

HostString* Lookup(AIUnicodeStringRef string)
{
    auto found = Strings().find(string);
    return found == Strings().end() ? nullptr : found->second.get();
}

AIUnicodeStringRef Keep(std::unique_ptr<HostString> string)
{
    auto ref = reinterpret_cast<AIUnicodeStringRef>(string.get());
    Strings()[ref] = std::move(string);
    return ref;
}

ASErr MakeFromEightBit(const char* text, int32_t encoding, AIUnicodeStringRef* string)
{
    if (text == nullptr || string == nullptr)
        return kBadParameterErr;
    if (encoding != kAIPlatformCharacterEncoding && encoding != kAIShiftJisCharacterEncoding)
        return kBadParameterErr;
    auto made = std::make_unique<HostString>();
    made->eightBit = text;
    made->encoding = encoding;
    made->utf16 = DecodeEightBit(made->eightBit);
    *string = Keep(std::move(made));
    return kNoErr;
}

ASErr MakeFromUtf16(const char16_t* text, int32_t units, AIUnicodeStringRef* string)
{
    if (text == nullptr || string == nullptr)
        return kBadParameterErr;
    auto made = std::make_unique<HostString>();
    made->utf16 = units < 0 ? std::u16string(text) : std::u16string(text, size_t(units));
    *string = Keep(std::move(made));
    return kNoErr;
}

ASErr Dispose(AIUnicodeStringRef string)
{
    return Strings().erase(string) == 1 ? kNoErr : kBadParameterErr;
}

ASErr GetUtf16(AIUnicodeStringRef string, const char16_t** text, int32_t* units)
{
    HostString* found = Lookup(string);
    if (found == nullptr || text == nullptr || units == nullptr)
        return kBadParameterErr;
    *text = found->utf16.c_str();
    *units = int32_t(found->utf16.size());
    return kNoErr;
}

ASErr GetUtf8(AIUnicodeStringRef string, char* buffer, int32_t room)
{
    HostString* found = Lookup(string);
    if (found == nullptr || buffer == nullptr || room <= 0)
        return kBadParameterErr;
    std::string utf8 = Utf16ToUtf8(found->utf16);
    size_t length = std::min(utf8.size(), size_t(room - 1));
    // never cut inside a character
    while (length > 0 && length < utf8.size() && (static_cast<unsigned char>(utf8[length]) & 0xC0) == 0x80)
        --length;
    std::memcpy(buffer, utf8.data(), length);
    buffer[length] = 0;
    return kNoErr;
}

const AIUnicodeStringSuite kSuite = {MakeFromEightBit, MakeFromUtf16, Dispose, GetUtf16, GetUtf8};

}  // namespace

const AIUnicodeStringSuite* HostUnicodeStringSuite() { return &kSuite; }

const HostString* FindHostString(AIUnicodeStringRef string) { return Lookup(string); }

int64_t HostStringsHeld() { return int64_t(Strings().size()); }

std::u16string DecodeEightBit(const std::string& bytes)
{
    std::u16string out;
    WalkEightBit(bytes, [&](const std::u16string& units, size_t, size_t) {
        out += units.empty() ? std::u16string(1, u'\uFFFD') : units;
    });
    return out;
}

std::string EightBitToPrintable(const std::string& bytes)
{
    std::string out;
    WalkEightBit(bytes, [&](const std::u16string& units, size_t start, size_t length) {
        if (!units.empty()) {
            out += Utf16ToUtf8(units);
            return;
        }
        for (size_t i = start; i < start + length; ++i) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(bytes[i]));
            out += escape;
        }
    });
    return out;
}

std::string Utf16ToUtf8(const std::u16string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string Utf8ToUtf16(const std::string& text)
{
    std::u16string out;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        uint32_t c = 0xFFFD;
        size_t length = 1;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            length = 2;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4;
        }
        if (length > 1) {
            if (i + length > text.size()) {
                length = 1;
            } else {
                c = b & (0x7F >> length);
                for (size_t k = 1; k < length; ++k) {
                    unsigned char t = static_cast<unsigned char>(text[i + k]);
                    if ((t & 0xC0) != 0x80) {
                        c = 0xFFFD;
                        length = k;
                        break;
                    }
                    c = (c << 6) | (t & 0x3F);
                }
            }
        }
        if (c >= 0x10000 && c <= 0x10FFFF) {
            c -= 0x10000;
            out += char16_t(0xD800 + (c >> 10));
            out += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            out += char16_t(c > 0x10FFFF ? 0xFFFD : c);
        }
        i += length;
    }
    return out;
}

std::string PrintableText(const HostString& string)
{
    return string.encoding >= 0 ? EightBitToPrintable(string.eightBit) : Utf16ToUtf8(string.utf16);
}

std::string RecordedBytes(const HostString& string)
{
    return string.encoding >= 0 ? string.eightBit : Utf16ToUtf8(string.utf16);
}

std::string ToEightBit(const std::u16string& units)
{
    std::string out;
    for (size_t i = 0; i < units.size();) {
        size_t n = (units[i] >= 0xD800 && units[i] < 0xDC00 && i + 1 < units.size()) ? 2 : 1;
        char bytes[8];
        int written = WideToMultiByte(kCodePageShiftJis, units.data() + i, static_cast<int>(n), bytes, sizeof bytes);
        if (written > 0)
            out.append(bytes, static_cast<size_t>(written));
        else
            out += '?';
        i += n;
    }
    return out;
}

}  // namespace host
